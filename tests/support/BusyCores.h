// A spinning shell on every core for the life of the object: a machine with no time to spare.
#pragma once

#include <QProcess>
#include <QString>
#include <QThread>

#include <list>

class BusyCores
{
public:
    BusyCores()
    {
        for (int core = 0; core < QThread::idealThreadCount(); ++core) {
            auto &child = _children.emplace_back();
            child.start(QStringLiteral("/bin/sh"),
                        {QStringLiteral("-c"), QStringLiteral("while :; do :; done")});
        }
    }
    ~BusyCores()
    {
        for (QProcess &child : _children) {
            child.kill();
            child.waitForFinished();
        }
    }
    bool started()
    {
        for (QProcess &child : _children) {
            if (!child.waitForStarted())
                return false;
        }
        return true;
    }

private:
    std::list<QProcess> _children;
};
