#include <gtest/gtest.h>

#include "tests/platform/ui/x11/x11_fixture.h"

namespace kestrova::uitest {
namespace {

constexpr uint32_t kBlack = 0x000000;  // Xvfb's bare root
constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kGreen = 0x00FF00;

using Lines = std::vector<std::string>;

void Shape(HWND hwnd, int width, int height, int corner) {
    SetWindowRgn(hwnd, CreateRoundRectRgn(0, 0, width + 1, height + 1, corner, corner), TRUE);
    UpdateWindow(hwnd);
}

TEST_F(X11Test, AShapedWindowShowsItsRoundedCornersAndWhatTheLayerPaints) {
    HWND w = Make({100, 100, 300, 220}, kRed);
    Shape(w, 200, 120, 40);
    Shoot();
    struct Case {
        POINT at;
        uint32_t colour;
    } cases[] = {
        {{101, 101}, kBlack}, {{298, 101}, kBlack},
        {{101, 218}, kBlack}, {{298, 218}, kBlack},  // cut corners
        {{120, 100}, kRed},   {{100, 160}, kRed},
        {{299, 160}, kRed},   {{200, 219}, kRed},    // edges
        {{99, 160}, kBlack},  {{300, 160}, kBlack},  // outside
    };
    for (const Case& c : cases) EXPECT_EQ(screen.At(c.at.x, c.at.y), c.colour) << c.at.x << "," << c.at.y;

    Repaint(w, kBlue);
    Shoot();
    EXPECT_EQ(screen.At(200, 160), kBlue);
    EXPECT_EQ(screen.At(101, 101), kBlack);
}

TEST_F(X11Test, ClicksReachTheWindowUnderThemAtTheirClientPoint) {
    HWND below = Make({300, 200, 600, 500}, kBlue);
    HWND shaped = Make({300, 200, 500, 350}, kRed);
    Shape(shaped, 200, 150, 60);
    x11->Sync();
    struct Case {
        POINT at;
        HWND target;
        std::string point;
    } cases[] = {
        {{350, 230}, shaped, "50,30"},
        {{302, 202}, below, "2,2"},  // through the shaped window's cut corner
        {{550, 450}, below, "250,250"},
    };
    for (const Case& c : cases) {
        ForgetInput();
        ASSERT_EQ(server->Run(
                      {"xdotool", "mousemove", std::to_string(c.at.x), std::to_string(c.at.y), "click", "1"}),
                  0);
        Lines expected{"down " + c.point, "up " + c.point};
        EXPECT_TRUE(PumpUntil([&] { return Input(c.target) == expected; })) << c.point;
        EXPECT_EQ(Input(c.target == below ? shaped : below), Lines{}) << c.point;
    }
}

TEST_F(X11Test, TypedKeysArriveAsCharactersInTheActiveWindow) {
    Make({50, 50, 250, 150}, kBlue);
    HWND typing = Make({300, 50, 500, 150}, kGreen);
    EXPECT_EQ(GetActiveWindow(), typing);
    x11->Sync();
    ASSERT_EQ(server->Run({"xdotool", "type", "--delay", "20", "Hi 7!"}), 0);
    ASSERT_EQ(server->Run({"xdotool", "key", "Return"}), 0);
    Lines chars;
    EXPECT_TRUE(PumpUntil([&] {
        chars.clear();
        for (const std::string& line : Input(typing))
            if (line.rfind("char ", 0) == 0) chars.push_back(line.substr(5));
        return chars.size() >= 6;
    }));
    EXPECT_EQ(chars, (Lines{"H", "i", " ", "7", "!", "\r"}));

    // Another program takes the keyboard; a click on the window that the layer still has active takes it
    // back.
    ASSERT_TRUE(server->FocusAnotherProgram(600, 300, 100, 100));
    ASSERT_EQ(server->Run({"xdotool", "mousemove", "400", "100", "click", "1"}), 0);
    EXPECT_TRUE(PumpUntil([&] { return Input(typing).back() == "up 100,50"; }));
    x11->Sync();
    ASSERT_EQ(server->Run({"xdotool", "type", "z"}), 0);
    EXPECT_TRUE(PumpUntil([&] { return Input(typing).back() == "char z"; }));
}

TEST_F(X11Test, TopmostWindowsAndOwnedWindowsStayAboveWhenOthersAreRaised) {
    Make({100, 100, 300, 300}, kRed, WS_EX_TOPMOST);
    HWND owner = Make({200, 200, 500, 500}, kBlue);
    Make({400, 400, 600, 600}, kGreen, 0, owner);
    BringWindowToTop(owner);
    // Another program raising the owner must not put it above the topmost window either.
    ASSERT_EQ(server->Run({"xdotool", "windowraise", std::to_string(x11->XWindowOf(owner))}), 0);
    Shoot();
    EXPECT_EQ(screen.At(250, 250), kRed);    // topmost over the owner
    EXPECT_EQ(screen.At(450, 450), kGreen);  // owned over its owner
    EXPECT_EQ(screen.At(350, 350), kBlue);
    EXPECT_EQ(screen.At(550, 550), kGreen);
}

TEST_F(X11Test, FullscreenCoversThePrimaryScreenAndTheCursorGoesWhereTheProgramPutsIt) {
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(width, 1024);
    EXPECT_EQ(height, 768);
    Make({0, 0, width, height}, kGreen, WS_EX_TOPMOST);
    SetCursorPos(123, 321);
    Shoot();
    for (POINT p : {POINT{0, 0}, POINT{1023, 0}, POINT{0, 767}, POINT{1023, 767}})
        EXPECT_EQ(screen.At(p.x, p.y), kGreen) << p.x << "," << p.y;

    int x = -1, y = -1;
    ASSERT_TRUE(server->PointerAt(&x, &y));
    EXPECT_EQ(x, 123);
    EXPECT_EQ(y, 321);
}

TEST_F(X11Test, TheDisplayIsUsedWhenItOpensUnlessTheEnvironmentAsksForHeadless) {
    struct Case {
        const char* display;
        const char* asked;
        std::string chosen;
    } cases[] = {
        {server->Display().c_str(), nullptr, "x11"},
        {server->Display().c_str(), "headless", "headless"},
        {":999", nullptr, "headless"},  // no server there
        {nullptr, nullptr, "headless"},
    };
    for (const Case& c : cases) {
        ScopedEnv display("DISPLAY", c.display);
        ScopedEnv asked("KESTROVA_UI", c.asked);
        EXPECT_EQ(ui::ChooseBackend()->Name(), c.chosen) << (c.display ? c.display : "none");
    }
}

}  // namespace
}  // namespace kestrova::uitest
