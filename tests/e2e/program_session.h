#pragma once
// Kestrova as a person has it on a desktop of the test's own: a fresh home folder (its documents, its
// settings, its runtime folder), the virtual camera and microphone, an X display, and a stand-in for the
// desktop's opener, so that what the program asks to open (its welcome page) starts no browser. The program
// can be started and closed again in the same home, as a person restarts it.

#include <memory>
#include <string>

#include "tests/e2e/child_process.h"
#include "tests/e2e/desktop.h"
#include "tests/support/temp_folder.h"

namespace kestrova::e2e {

class ProgramSession {
public:
    // The main window's size, by which it is found.
    static constexpr int kMainWidth = 500;
    static constexpr int kMainHeight = 673;

    ProgramSession(std::string program, std::string display);

    // The home folder, ending in "/".
    std::string Home() const { return home_.native(); }
    // The program's storage folder (documents) and settings folder, ending in "/".
    std::string StorageFolder() const { return Home() + "Documents/Kestrova/"; }
    std::string SettingsFolder() const { return Home() + ".config/kestrova/"; }

    void WriteSettings(const std::string& lines) const;
    // Starts the program and waits for its main window; false when it does not show.
    bool Start();
    const ScreenWindow& MainWindow() const { return main_; }
    ChildProcess& Process() { return *process_; }
    std::string Log() const { return process_ ? process_->Log() : std::string(); }

private:
    std::string program_;
    std::string display_;
    TempFolder home_;
    std::unique_ptr<ChildProcess> process_;
    ScreenWindow main_;
};

}  // namespace kestrova::e2e
