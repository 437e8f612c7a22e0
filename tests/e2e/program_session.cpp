#include "tests/e2e/program_session.h"

#include <sys/stat.h>

#include <fstream>

namespace kestrova::e2e {
namespace {

void WriteAll(const std::string& path, const std::string& text, mode_t mode = 0644) {
    std::ofstream(path) << text;
    chmod(path.c_str(), mode);
}

}  // namespace

ProgramSession::ProgramSession(std::string program, std::string display)
    : program_(std::move(program)), display_(std::move(display)) {
    for (const char* folder : {"bin", "run", ".config", ".config/kestrova", "Documents"}) {
        mkdir((Home() + folder).c_str(), 0700);
    }
    WriteAll(Home() + "bin/xdg-open", "#!/bin/sh\nexit 0\n", 0755);
}

void ProgramSession::WriteSettings(const std::string& lines) const {
    WriteAll(SettingsFolder() + "Settings.ini", "[SETTINGS]\n" + lines);
}

bool ProgramSession::Start() {
    const char* path = std::getenv("PATH");
    const Environment environment{
        {"HOME", Home()},
        {"XDG_CONFIG_HOME", Home() + ".config"},
        {"XDG_RUNTIME_DIR", Home() + "run"},
        {"KESTROVA_RUNTIME_DIR", Home() + "run"},
        {"KESTROVA_CONFIG_DIR", ""},
        {"KESTROVA_VIRTUAL_DEVICES", "1"},
        {"KESTROVA_UI", "x11"},
        {"DISPLAY", display_},
        {"PATH", Home() + "bin:" + (path ? path : "/usr/bin:/bin")},
        // No system bus to keep the machine awake through.
        {"DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent"},
        {"DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent"},
    };
    process_ = std::make_unique<ChildProcess>(std::vector<std::string>{program_}, environment,
                                              Home() + "program.log");
    if (!process_->Started()) return false;
    auto main = Desktop(display_).WaitForWindow(kMainWidth, kMainHeight);
    if (!main) return false;
    main_ = *main;
    return true;
}

}  // namespace kestrova::e2e
