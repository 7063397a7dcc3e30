// Makes writes past `bytes` fail as on a full card, for the life of the guard: the process's file-size
// limit is lowered and SIGXFSZ ignored, so the write returns an error instead of ending the process.
#pragma once

#include <csignal>
#include <sys/resource.h>

class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes) : _oldHandler(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &_saved);
        rlimit limited = _saved;
        limited.rlim_cur = bytes;
        _active = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &_saved);
        std::signal(SIGXFSZ, _oldHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    bool active() const { return _active; }

private:
    void (*_oldHandler)(int);
    rlimit _saved{};
    bool _active = false;
};
