#include "tests/e2e/virtual_display.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cctype>

namespace kestrova::e2e {
namespace {

constexpr int kStartLimitMs = 20000;

// The line the server writes to its display descriptor once it takes clients; empty when it ended first.
std::string ReadDisplayNumber(int fd) {
    std::string number;
    char c;
    pollfd wait{fd, POLLIN, 0};
    while (poll(&wait, 1, kStartLimitMs) == 1 && read(fd, &c, 1) == 1 && c != '\n') number += c;
    return number;
}

}  // namespace

VirtualDisplay::VirtualDisplay(const std::string& log) {
    int fds[2];
    // The write end stays open across the start: the server writes its number there.
    if (pipe2(fds, O_CLOEXEC) != 0 || fcntl(fds[1], F_SETFD, 0) != 0) return;
    server_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x800x24",
                                 "-nolisten", "tcp", "-noreset"},
        Environment{}, log);
    close(fds[1]);
    const std::string number = server_->Started() ? ReadDisplayNumber(fds[0]) : std::string();
    close(fds[0]);
    if (!number.empty() && std::isdigit(static_cast<unsigned char>(number[0]))) name_ = ":" + number;
}

}  // namespace kestrova::e2e
