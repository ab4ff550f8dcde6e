// Limits the size of the files this process writes, for as long as the object
// lives: a write past the limit is cut short, as on a full disk, and the
// signal that would end the process is ignored meanwhile.
#pragma once

#include <csignal>
#include <sys/resource.h>

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &FOld);
        FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = FOld;
        limited.rlim_cur = bytes;
        FActive = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &FOld);
        std::signal(SIGXFSZ, FOldHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    // Whether the limit is in force.
    bool IsActive() const { return FActive; }

private:
    rlimit FOld{};
    void (*FOldHandler)(int) = nullptr;
    bool FActive = false;
};
