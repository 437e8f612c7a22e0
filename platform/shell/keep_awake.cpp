#include "platform/shell/keep_awake.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <mutex>
#include <string_view>

#include "platform/base/debug.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/shell/shell_open.h"

namespace kestrova {
namespace {

constexpr char kDefaultInhibitor[] = "systemd-inhibit";
constexpr char kDefaultBus[] = "/run/dbus/system_bus_socket";

std::mutex g_mutex;
std::string g_inhibitor = kDefaultInhibitor;
int g_holdFd = -1;  // our end of the holder's standard input; closing it ends the holder
bool g_reportedNoBus = false;

// The system bus socket: the "unix:path=" of DBUS_SYSTEM_BUS_ADDRESS, else the standard place.
std::string SystemBusPath() {
    const char* address = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
    if (!address || !*address) return kDefaultBus;
    std::string_view a(address);
    constexpr std::string_view kPrefix = "unix:path=";
    if (a.substr(0, kPrefix.size()) != kPrefix) return {};
    a.remove_prefix(kPrefix.size());
    return std::string(a.substr(0, a.find(',')));
}

}  // namespace

bool KeepSystemAwake(bool awake) {
    std::lock_guard<std::mutex> g(g_mutex);
    if (!awake) {
        if (g_holdFd < 0) return false;
        close(g_holdFd);
        g_holdFd = -1;
        return true;
    }
    if (g_holdFd >= 0) return true;
    const std::string bus = SystemBusPath();
    if (bus.empty() || !FileExists(FromUtf8(bus))) {
        if (!g_reportedNoBus) DebugOutput("Keep awake: no system bus, the system may sleep while watching");
        g_reportedNoBus = true;
        return false;
    }
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    const bool started = StartProgram({g_inhibitor, "--what=sleep:idle", "--who=Kestrova",
                                       "--why=Watching cameras and microphones", "--mode=block", "cat"},
                                      fds[0]);
    close(fds[0]);
    if (!started) {
        close(fds[1]);
        return false;
    }
    g_holdFd = fds[1];
    return true;
}

void SetInhibitorProgram(std::string program) {
    std::lock_guard<std::mutex> g(g_mutex);
    g_inhibitor = program.empty() ? kDefaultInhibitor : std::move(program);
    g_reportedNoBus = false;
}

}  // namespace kestrova
