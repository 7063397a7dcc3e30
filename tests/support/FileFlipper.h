// Test helper: a file cut short and restored, over and over, while the readers read it.
#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <thread>

// Flips a file between empty and its full contents on a thread of its own until destroyed.
class FileFlipper
{
public:
    FileFlipper(const QString &path, QByteArray contents);
    ~FileFlipper();
    // Flips done so far.
    int flips() const { return _flips; }

private:
    std::atomic<bool> _stop = false;
    std::atomic<int> _flips = 0;
    std::thread _thread;
};
