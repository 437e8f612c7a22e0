// Kestrova from the outside, as a person uses it: the real program on an X display of the test's own,
// worked by the pointer and the keyboard, with a network camera, a mail server and a web browser on
// loopback; what it does is read back from its files, the mail it sends and the pages it serves.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include "tests/e2e/desktop.h"
#include "tests/e2e/mail_peer.h"
#include "tests/e2e/program_session.h"
#include "tests/e2e/scene_camera.h"
#include "tests/e2e/virtual_display.h"
#include "tests/support/temp_folder.h"

namespace kestrova::e2e {
namespace {

constexpr auto kPatience = std::chrono::seconds(30);

// The main window's controls, by the centre of their rectangles in its client coordinates.
constexpr Point kCloseButton{469, 9};
constexpr Point kDeviceListButton{361, 416};

bool ToolMissing(const std::string& tool) {
    return RunTool({"sh", "-c", "command -v " + tool + " >/dev/null"}, "") != 0;
}

class EndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* tool : {"Xvfb", "xdotool", "import", "ffprobe", "node"}) {
            if (ToolMissing(tool)) GTEST_SKIP() << tool << " is not installed; the program cannot be run whole";
        }
        const char* source = std::getenv("KESTROVA_SOURCE_DIR");
        mail_ = std::make_unique<MailPeer>(source ? source : ".", peers_.native());
        if (mail_->Port() == 0) GTEST_SKIP() << mail_->Why();
        display_ = std::make_unique<VirtualDisplay>(peers_.native() + "xvfb.log");
        ASSERT_FALSE(display_->Name().empty()) << "Xvfb did not start";
        desktop_ = std::make_unique<Desktop>(display_->Name());
        session_ = std::make_unique<ProgramSession>(KESTROVA_PROGRAM, display_->Name());
    }

    // Closes the program with its close button, as a person does, and waits for its end.
    void CloseProgram() {
        desktop_->Click(session_->MainWindow().At(kCloseButton));
        EXPECT_EQ(session_->Process().WaitForExit(kPatience), 0) << session_->Log();
    }

    TempFolder peers_;
    std::unique_ptr<MailPeer> mail_;
    std::unique_ptr<VirtualDisplay> display_;
    std::unique_ptr<Desktop> desktop_;
    std::unique_ptr<ProgramSession> session_;
};

TEST_F(EndToEndTest, StartsOnAFreshDesktopAndClosesFromItsCloseButton) {
    session_->WriteSettings("LOAD_USB_DEVS=0\nVIDEO_STREAMS_PER_DISPALY=4\n");
    ASSERT_TRUE(session_->Start()) << session_->Log();
    CloseProgram();
}

}  // namespace
}  // namespace kestrova::e2e
