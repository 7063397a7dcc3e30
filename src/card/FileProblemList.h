// The files of an opened card that could not be read or were skipped, each with the reason, for the
// user. Filled by the loader on the main thread and by the workers; one entry per file and cause.
#pragma once

#include <QString>

#include <mutex>
#include <vector>

class FileProblemList
{
public:
    struct Problem
    {
        QString file;   // full path
        QString reason; // what the user can act on, as the readers word it
    };

    // Adds the problem unless the file already has this reason (every retry would repeat it); true
    // when added. An empty reason is not added.
    bool add(const QString &file, const QString &reason);
    // In the order first reported.
    std::vector<Problem> problems() const;
    void clear();

private:
    mutable std::mutex _mutex;
    std::vector<Problem> _problems;
};
