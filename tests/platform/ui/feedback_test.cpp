#include <gtest/gtest.h>

#include "platform/base/debug.h"
#include "platform/ui/input.h"
#include "platform/ui/windows.h"

namespace kestrova::uitest {
namespace {

TEST(Feedback, BeepsAndDebugOutputReachTheirSinks) {
    std::vector<UINT> beeps;
    ui::BeepSink old = ui::SetBeepSink([&](UINT type) { beeps.push_back(type); });
    MessageBeep(MB_ICONHAND);
    MessageBeep(MB_OK);
    ui::SetBeepSink(old);
    MessageBeep(MB_OK);  // back to the default: not seen here
    EXPECT_EQ(beeps, (std::vector<UINT>{MB_ICONHAND, MB_OK}));

    std::vector<std::string> lines;
    DebugSink previous = SetDebugSink([&](std::string_view line) { lines.emplace_back(line); });
    OutputDebugStringW(L"SMTP < 220 ready\n");
    OutputDebugStringA("SMTP > EHLO\n");
    SetDebugSink(previous);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("220 ready"), std::string::npos);
    EXPECT_NE(lines[1].find("EHLO"), std::string::npos);
}

}  // namespace
}  // namespace kestrova::uitest
