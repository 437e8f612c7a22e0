#pragma once
// A full disk for a scope: no file of the process may grow past `bytes` (a write that would fails with
// EFBIG instead of raising SIGXFSZ). Holds for the whole process, also as root: keep the scope short and
// free of other threads that write files.

#include <sys/resource.h>

#include <csignal>

namespace kestrova {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    struct sigaction oldAction_ {};
};

}  // namespace kestrova
