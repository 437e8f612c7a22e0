// The virtual camera through the whole program: added as an attached USB camera, powered, and shown live.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <set>
#include <thread>

#include "app/display_tiles.h"
#include "engine/device.h"
#include "platform/ui/backend.h"
#include "platform/ui/backends/headless/headless_backend.h"
#include "platform/ui/backends/x11/x11_backend.h"
#include "platform/ui/windows.h"
#include "tests/app/program/program_fixture.h"

namespace kestrova::uitest {
namespace {

// For judging by eye: with KESTROVA_SCREENSHOT naming a file, the windows show on the display that DISPLAY
// names, and the screen is captured there once the picture is live.
class LivePictureTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        // The camera streams in real time.
        SetClock(nullptr);
        if (shot_ != nullptr) {
            auto backend = ui::X11Backend::Open(nullptr);
            ASSERT_NE(backend, nullptr) << "no X display to show the windows on";
            x11_ = backend.get();
            ui::UseBackend(std::move(backend));
        }
    }
    void TearDown() override {
        ProgramTest::TearDown();
        if (x11_ != nullptr) ui::UseBackend(std::make_unique<ui::HeadlessBackend>(/*driven=*/true));
    }
    void TakeScreenshot() {
        if (x11_ == nullptr) return;
        x11_->Sync();
        const std::string command = std::string("import -window root '") + shot_ + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }

    // The colours along the display's middle row.
    std::set<COLORREF> MiddleRowColours() {
        std::set<COLORREF> colours;
        for (int x = 0; x < kDisplayWidth; x += 4)
            colours.insert(ReadPixel(Display(), x, kDisplayHeight / 2));
        return colours;
    }

    ScopedEnv virtualDevices_{"KESTROVA_VIRTUAL_DEVICES", "1"};
    const char* shot_ = std::getenv("KESTROVA_SCREENSHOT");
    ui::X11Backend* x11_ = nullptr;
};

TEST_F(LivePictureTest, APoweredVirtualCameraShowsItsPictureInTheDisplay) {
    OpenMainWindow();
    Device* camera = Main().GetDeviceList().GetSelected();
    ASSERT_NE(camera, nullptr);  // the virtual camera, added as an attached camera
    const size_t emptyColours = MiddleRowColours().size();
    ASSERT_EQ(camera->Start(), 1);
    Main().RefreshDeviceList();

    // The colour bars: many colours across the row where the empty display has a plain background.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (MiddleRowColours().size() < 6 && std::chrono::steady_clock::now() < deadline) {
        PumpMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_GE(MiddleRowColours().size(), 6u);
    EXPECT_LT(emptyColours, 6u);

    TakeScreenshot();
    camera->Stop();
}

}  // namespace
}  // namespace kestrova::uitest
