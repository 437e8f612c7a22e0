#include "app/windows/power_window.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "app/windows/property_window.h"
#include "tests/app/windows/property_window_fixture.h"

namespace kestrova::uitest {
namespace {

// The radios and the check box, in the window's order: 640 x 480, 320 x 240, High, Medium, Uncompressed
// video, PNG, JPEG, Vertical flip.
constexpr int kChoices[] = {1040, 1041, 1042, 1043, 1044, 1045, 1046, 1047};

std::vector<int> Ticked(HWND window) {
    std::vector<int> ticked;
    for (int id : kChoices)
        if (Checked(window, id)) ticked.push_back(id);
    return ticked;
}

std::vector<int32_t> Fields(const PowerSettings& s) {
    return {s.frameSize, s.verticalFlip, s.compression, s.photoFormat};
}

class PowerWindowTest : public PropertyWindowTest {
protected:
    int Show(PowerSettings& settings, const std::function<void(HWND)>& act) {
        return Drive(
            kPowerWindowClass, [&] { return ShowPowerWindow(owner, &settings); }, act);
    }
};

TEST_F(PowerWindowTest, OpensOnTheCamerasOptionsAndWritesTheChosenOnesOnOk) {
    const struct {
        PowerSettings stored;
        std::vector<int> shown;
        std::vector<int> presses;
        std::vector<int32_t> written;
    } cases[] = {
        // A camera whose options were never changed.
        {{}, {1040, 1042, 1045}, {}, {2, 0, 0, 0}},
        {{1, 1, 2, 1}, {1041, 1044, 1046, 1047}, {}, {1, 1, 2, 1}},
        {{1, 0, 1, 0}, {1041, 1043, 1045}, {1040, 1047, 1044, 1046}, {2, 1, 2, 1}},
        // Values outside the choices leave their groups at the defaults.
        {{7, 3, -1, 2}, {1040, 1042, 1045, 1047}, {}, {2, 1, 0, 0}},
    };
    for (const auto& c : cases) {
        PowerSettings settings = c.stored;
        const int result = Show(settings, [&](HWND window) {
            EXPECT_EQ(Ticked(window), c.shown);
            for (int id : c.presses) Press(window, id);
            Press(window, kOkButtonId);
        });
        EXPECT_EQ(result, kPropertyOk);
        EXPECT_EQ(Fields(settings), c.written);
    }
}

TEST_F(PowerWindowTest, DefaultRestoresTheDevicesDefaultsWhichOkStoresAndCancelDoesNot) {
    for (const int closeWith : {kOkButtonId, kCancelButtonId, kCloseButtonId}) {
        PowerSettings settings{1, 1, 2, 1};
        const int result = Show(settings, [&](HWND window) {
            Press(window, kDefaultButtonId);
            EXPECT_EQ(Ticked(window), (std::vector<int>{1040, 1042, 1045}));
            Press(window, closeWith);
        });
        const bool ok = closeWith == kOkButtonId;
        EXPECT_EQ(result, ok ? kPropertyOk : kPropertyCancelled);
        const std::vector<int32_t> stored =
            ok ? std::vector<int32_t>{2, 0, 0, 0} : std::vector<int32_t>{1, 1, 2, 1};
        EXPECT_EQ(Fields(settings), stored);
    }
}

}  // namespace
}  // namespace kestrova::uitest
