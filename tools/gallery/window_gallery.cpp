// window_gallery: shows one of the program's property windows, filled as a user would have left it, on the
// X display, for judging it by eye; it ends when the window is closed.
//
//   window_gallery alarm | alarm-microphone | email | power | settings | display | about

#include <cstdio>
#include <cstring>
#include <string>

#include "app/app_settings.h"
#include "app/windows/about_window.h"
#include "app/windows/alarm_window.h"
#include "app/windows/display_prop_window.h"
#include "app/windows/email_window.h"
#include "app/windows/power_window.h"
#include "app/windows/settings_window.h"
#include "platform/ui/backend.h"
#include "toolkit/message_box.h"
#include "toolkit/toolkit.h"

namespace {

using namespace kestrova;

bool RegisterWindows() {
    return InitToolkit() && RegisterMessageExWindowClass() && RegisterAlarmWindowClass() &&
           RegisterEmailWindowClass() && RegisterPowerWindowClass() && RegisterSettingsWindowClass() &&
           RegisterDisplayPropWindowClass() && RegisterAboutWindowClass();
}

EmailSettings SampleEmail() {
    EmailSettings email;
    SetEmailText(email.host, kEmailProviders[0].host);
    email.port = kEmailProviders[0].port;
    SetEmailText(email.user, L"garage.camera@example.org");
    SetEmailText(email.password, L"secret");
    SetEmailText(email.sender, L"garage.camera@example.org");
    SetEmailText(email.recipient, L"owner@example.org");
    return email;
}

AlarmActions SampleAlarm(int32_t type) {
    AlarmActions actions;
    actions.type = type;
    actions.save = actions.photo = actions.audio = actions.playSound = 1;
    actions.sound = 1;
    actions.preview = 1;
    actions.run = 1;
    const wchar_t file[] = L"/home/ana/bin/lights-on.sh";
    std::memcpy(actions.fileToRun, file, sizeof file);
    actions.sendEmail = 1;
    actions.email = SampleEmail();
    return actions;
}

int Show(const std::string& which) {
    if (which == "alarm" || which == "alarm-microphone") {
        AlarmActions actions = SampleAlarm(which == "alarm" ? 1 : 2);
        return ShowAlarmWindow(nullptr, &actions);
    }
    if (which == "email") {
        EmailSettings email = SampleEmail();
        return ShowEmailWindow(nullptr, &email);
    }
    if (which == "power") {
        PowerSettings power;
        return ShowPowerWindow(nullptr, &power);
    }
    if (which == "settings") {
        AppSettings settings;
        std::wstring folder = L"/home/ana/Documents/Kestrova/";
        return ShowSettingsWindow(nullptr, &settings, &folder);
    }
    if (which == "display") {
        int32_t streams = 4;
        return ShowDisplayPropWindow(nullptr, &streams);
    }
    if (which == "about") return ShowAboutWindow(nullptr);
    std::fprintf(stderr, "window_gallery: no window \"%s\"\n", which.c_str());
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: window_gallery alarm|alarm-microphone|email|power|settings|display|about\n",
                   stderr);
        return 2;
    }
    // The display is opened now rather than with the first window, so that the windows, which have no owner
    // here, are centred on its screen.
    kestrova::ui::UseBackend(kestrova::ui::ChooseBackend());
    if (!RegisterWindows()) {
        std::fputs("window_gallery: the window classes could not be registered\n", stderr);
        return 1;
    }
    const int result = Show(argv[1]);
    if (result < 0) return 2;
    std::printf("%d\n", result);
    return 0;
}
