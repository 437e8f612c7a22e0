#include <gtest/gtest.h>

#include "platform/ui/backend.h"
#include "platform/ui/windows.h"
#include "tests/platform/ui/x11/xvfb_server.h"
#include "tests/support/temp_folder.h"

namespace kestrova::uitest {
namespace {

// A program centres its first window on the screen before it has made any window.
TEST(FirstUse, TheScreenSizeIsTheDisplaysBeforeAnyWindowExists) {
    XvfbServer server;
    ASSERT_TRUE(server.Start());
    ScopedEnv display("DISPLAY", server.Display().c_str());
    ScopedEnv asked("KESTROVA_UI", nullptr);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    // The display's backend goes before its server does.
    ui::UseBackend(nullptr).reset();
}

}  // namespace
}  // namespace kestrova::uitest
