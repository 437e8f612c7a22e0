#include "app/windows/stream_window.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/windows/property_window.h"
#include "app/windows/stream_addresses.h"
#include "platform/base/text.h"
#include "platform/ui/windows.h"
#include "tests/app/windows/property_window_fixture.h"
#include "tests/app/windows/stream_classes.h"
#include "toolkit/framed_edit.h"
#include "toolkit/menu.h"

namespace kestrova::uitest {
namespace {

constexpr int kAddressId = 1046, kPortId = 1048, kPasswordId = 1049;
constexpr wchar_t kBadPort[] = L"The port must be a number from 1 to 65535.";
// The popup's rows: a 5-pixel margin, then 22 pixels an item.
constexpr int kMenuMargin = 5, kMenuRow = 22;

bool IsDottedIpv4(const std::wstring& text) {
    in_addr parsed;
    return inet_pton(AF_INET, ToUtf8(text).c_str(), &parsed) == 1;
}

std::wstring Cue(HWND window, int id) {
    wchar_t cue[64] = {};
    SendDlgItemMessageW(window, id, kEditCueText, MAKEWPARAM(0, 64), reinterpret_cast<LPARAM>(cue));
    return cue;
}

WebServerSettings Stored(const char* address, int32_t port, const char* password) {
    WebServerSettings s;
    std::strcpy(s.bindAddress, address);
    s.port = port;
    std::strcpy(s.password, password);
    return s;
}

class StreamWindowTest : public PropertyWindowTest {
protected:
    void SetUp() override {
        PropertyWindowTest::SetUp();
        ASSERT_TRUE(RegisterScheduleAndStreamClasses());
        setup.storageFolder = L"/srv/cameras/";
        setup.notifyWindow = owner;
    }
    int Show(const std::function<void(HWND)>& act) {
        return Drive(
            kStreamWindowClass, [&] { return ShowStreamWindow(owner, &setup); }, act);
    }
    // Opens the address popup and clicks its item `index`.
    static void ChooseAddress(HWND window, int index) {
        Press(window, kAddressId);
        HWND popup = FindWindowW(L"WMenuEx_0000", nullptr);
        ASSERT_NE(popup, nullptr);
        Click(OnScreen(popup, POINT{80, kMenuMargin + kMenuRow * index + kMenuRow / 2}));
    }

    StreamingSetup setup;
};

TEST_F(StreamWindowTest, OffersTheMachinesAddressesAndLoopbackWithTheFirstChosen) {
    const std::vector<std::wstring> addresses = ListenAddresses();
    ASSERT_FALSE(addresses.empty());
    EXPECT_EQ(addresses.back(), L"127.0.0.1");
    for (const std::wstring& address : addresses) {
        EXPECT_TRUE(IsDottedIpv4(address));
        // The host name's address on many systems, which no interface has.
        EXPECT_NE(address, L"127.0.1.1");
    }
    const int result = Show([&](HWND window) {
        EXPECT_EQ(Text(window, kAddressId), addresses.front());
        EXPECT_EQ(Text(window, kPortId), L"8000");
        EXPECT_EQ(Text(window, kPasswordId), L"");
        EXPECT_EQ(Cue(window, kPasswordId), L"Optional");
        Press(window, kCancelButtonId);
    });
    EXPECT_EQ(result, kPropertyCancelled);
    EXPECT_EQ(setup.settings, nullptr);
}

TEST_F(StreamWindowTest, OkStoresTheChosenAddressPortAndPasswordAndReopensOnThem) {
    const std::vector<std::wstring> addresses = ListenAddresses();
    const int last = int(addresses.size()) - 1;
    EXPECT_EQ(Show([&](HWND window) {
                  ChooseAddress(window, last);
                  EXPECT_EQ(Text(window, kAddressId), addresses[last]);
                  Type(window, kPortId, L"8081");
                  Type(window, kPasswordId, L"gärtner");
                  Press(window, kOkButtonId);
              }),
              kPropertyOk);
    ASSERT_NE(setup.settings, nullptr);
    const WebServerSettings& s = *setup.settings;
    EXPECT_EQ(FromUtf8(s.bindAddress), addresses[last]);
    EXPECT_EQ(s.port, 8081);
    EXPECT_STREQ(s.password, "g\xc3\xa4rtner");
    EXPECT_EQ(std::wstring(s.frameFolder), L"/srv/cameras/Server/");
    EXPECT_EQ(s.publishedCount, 0);
    EXPECT_EQ(s.notifyWindow, owner);
    EXPECT_EQ(s.notifyMessage, 0x8004u);

    Show([&](HWND window) {
        EXPECT_EQ(Text(window, kAddressId), addresses[last]);
        EXPECT_EQ(Text(window, kPortId), L"8081");
        EXPECT_EQ(Text(window, kPasswordId), L"gärtner");
        // Default offers the first address again and leaves the stored settings alone.
        Press(window, kDefaultButtonId);
        EXPECT_EQ(Text(window, kAddressId), addresses.front());
        EXPECT_EQ(Text(window, kPortId), L"8000");
        EXPECT_EQ(Text(window, kPasswordId), L"");
        Press(window, kCancelButtonId);
    });
    EXPECT_EQ(setup.settings->port, 8081);
}

TEST_F(StreamWindowTest, AStoredAddressTheMachineNoLongerHasGivesWayToTheFirst) {
    setup.settings = std::make_unique<WebServerSettings>(Stored("198.51.100.7", 9000, "pw"));
    EXPECT_EQ(Show([&](HWND window) {
                  EXPECT_EQ(Text(window, kAddressId), ListenAddresses().front());
                  EXPECT_EQ(Text(window, kPortId), L"9000");
                  EXPECT_EQ(Text(window, kPasswordId), L"pw");
                  Press(window, kOkButtonId);
              }),
              kPropertyOk);
    EXPECT_EQ(FromUtf8(setup.settings->bindAddress), ListenAddresses().front());
}

TEST_F(StreamWindowTest, OkRefusesAPortOutOfRangeAndAPasswordTooLongForItsField) {
    setup.settings = std::make_unique<WebServerSettings>(Stored("127.0.0.1", 8000, ""));
    const struct {
        std::wstring port, password, message;
    } refused[] = {
        {L"0", L"", kBadPort},
        {L"99999", L"", kBadPort},
        {L"", L"", kBadPort},
        // Twenty letters, but forty bytes.
        {L"8000", std::wstring(20, L'ж'),
         L"The password is too long. It may take 20 bytes, and each letter with an accent or of another "
         L"alphabet takes two to four of them."},
    };
    for (const auto& c : refused) {
        EXPECT_EQ(Show([&](HWND window) {
                      Type(window, kPortId, c.port);
                      Type(window, kPasswordId, c.password);
                      EXPECT_EQ(PressOkForMessage(window), c.message);
                      EXPECT_TRUE(IsWindow(window)) << "the window stays for the user to mend";
                      Press(window, kCancelButtonId);
                  }),
                  kPropertyCancelled);
        EXPECT_EQ(setup.settings->port, 8000);
    }
    // The edges themselves are ports, and twenty plain letters fit.
    for (const wchar_t* port : {L"1", L"65535"}) {
        EXPECT_EQ(Show([&](HWND window) {
                      Type(window, kPortId, port);
                      Type(window, kPasswordId, std::wstring(20, L'x'));
                      Press(window, kOkButtonId);
                  }),
                  kPropertyOk);
        EXPECT_EQ(std::to_wstring(setup.settings->port), port);
        EXPECT_EQ(std::string(setup.settings->password), std::string(20, 'x'));
    }
}

}  // namespace
}  // namespace kestrova::uitest
