#include "app/windows/email_window.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/windows/property_window.h"
#include "platform/ui/windows.h"
#include "tests/app/windows/property_window_fixture.h"
#include "toolkit/button.h"
#include "toolkit/framed_edit.h"

namespace kestrova::uitest {
namespace {

constexpr int kProviderId = 1044, kHostId = 1045, kPortId = 1046, kTlsId = 1047, kSslId = 1048;
constexpr int kUserId = 1049, kPasswordId = 1050, kSenderId = 1051, kRecipientId = 1052;
constexpr wchar_t kMissing[] = L"Some required information is missing or incomplete.";

EmailSettings Record(const wchar_t* host, int32_t port, int32_t protocol) {
    EmailSettings s;
    SetEmailText(s.host, host);
    s.port = port;
    s.protocol = protocol;
    SetEmailText(s.user, L"cam@example.org");
    SetEmailText(s.password, L"secret");
    SetEmailText(s.sender, L"cam@example.org");
    SetEmailText(s.recipient, L"me@example.org");
    return s;
}

std::wstring Cue(HWND window, int id) {
    wchar_t cue[64] = {};
    SendDlgItemMessageW(window, id, kEditCueText, MAKEWPARAM(0, 64), reinterpret_cast<LPARAM>(cue));
    return cue;
}

// What the window shows of the server: the provider's name, host, port, which protocol is ticked, and
// whether those four can be changed.
struct Server {
    std::wstring provider, host, port;
    bool ssl;
    bool editable;
    bool operator==(const Server&) const = default;
};

Server ShownServer(HWND window) {
    const bool editable = Enabled(window, kHostId);
    EXPECT_EQ(Enabled(window, kPortId), editable);
    EXPECT_EQ(Enabled(window, kTlsId), editable);
    EXPECT_EQ(Enabled(window, kSslId), editable);
    EXPECT_NE(Checked(window, kTlsId), Checked(window, kSslId));
    return {Text(window, kProviderId), Text(window, kHostId), Text(window, kPortId), Checked(window, kSslId),
            editable};
}

std::ostream& operator<<(std::ostream& out, const Server& s) {
    return out << std::string(s.provider.begin(), s.provider.end()) << " "
               << std::string(s.host.begin(), s.host.end()) << ":"
               << std::string(s.port.begin(), s.port.end()) << (s.ssl ? " ssl" : " tls")
               << (s.editable ? " editable" : " locked");
}

class EmailWindowTest : public PropertyWindowTest {
protected:
    int Show(EmailSettings& settings, const std::function<void(HWND)>& act) {
        return Drive(
            kEmailWindowClass, [&] { return ShowEmailWindow(owner, &settings); }, act);
    }
    // Fills in an account and both addresses.
    static void TypeAccount(HWND window) {
        Type(window, kUserId, L"alarm");
        Type(window, kPasswordId, L"pw");
        Type(window, kSenderId, L"cam@example.org");
        Type(window, kRecipientId, L"me@example.org");
    }
};

TEST_F(EmailWindowTest, ARecordOpensOnItsProviderOrAsOther) {
    const struct {
        EmailSettings record;
        Server shown;
        std::wstring userCue;
    } cases[] = {
        {Record(L"smtp.gmail.com", 587, 0),
         {L"Gmail", L"smtp.gmail.com", L"587", false, false},
         L"Email address"},
        {Record(L"smtp.mail.yahoo.com", 465, 1),
         {L"Yahoo", L"smtp.mail.yahoo.com", L"465", true, false},
         L"Email address"},
        {Record(L"smtp-mail.outlook.com", 25, 0),
         {L"Hotmail", L"smtp-mail.outlook.com", L"25", false, false},
         L"Email address"},
        // A record that differs from every provider in host, port or protocol is another server.
        {Record(L"smtp.gmail.com", 465, 0), {L"Other", L"smtp.gmail.com", L"465", false, true}, L""},
        {Record(L"smtp.mail.yahoo.com", 465, 0),
         {L"Other", L"smtp.mail.yahoo.com", L"465", false, true},
         L""},
        {Record(L"SMTP.GMAIL.COM", 587, 0), {L"Other", L"SMTP.GMAIL.COM", L"587", false, true}, L""},
        {Record(L"127.0.0.1", 2525, 1), {L"Other", L"127.0.0.1", L"2525", true, true}, L""},
        // No host: the window's defaults, whatever else the record holds.
        {Record(L"", 2525, 1), {L"Gmail", L"smtp.gmail.com", L"587", false, false}, L"Email address"},
    };
    for (const auto& c : cases) {
        EmailSettings settings = c.record;
        Show(settings, [&](HWND window) {
            EXPECT_EQ(ShownServer(window), c.shown);
            EXPECT_EQ(Cue(window, kUserId), c.userCue);
            EXPECT_EQ(Cue(window, kSenderId), L"Email address");
            const bool filled = c.record.host[0] != 0;
            EXPECT_EQ(Text(window, kUserId), filled ? L"cam@example.org" : L"");
            EXPECT_EQ(Text(window, kRecipientId), filled ? L"me@example.org" : L"");
            Press(window, kCancelButtonId);
        });
    }
}

TEST_F(EmailWindowTest, TheProviderButtonStepsThroughThePresetsAndOther) {
    EmailSettings settings = Record(L"127.0.0.1", 2525, 1);
    Show(settings, [](HWND window) {
        const Server expected[] = {
            {L"Gmail", L"smtp.gmail.com", L"587", false, false},
            {L"Yahoo", L"smtp.mail.yahoo.com", L"465", true, false},
            {L"Hotmail", L"smtp-mail.outlook.com", L"25", false, false},
            {L"Other", L"", L"", false, true},
        };
        for (const Server& next : expected) {
            Press(window, kProviderId);
            EXPECT_EQ(ShownServer(window), next);
            EXPECT_EQ(Cue(window, kUserId), next.editable ? L"" : L"Email address");
        }
        EXPECT_EQ(Text(window, kUserId), L"cam@example.org") << "the account stays";
        Press(window, kCancelButtonId);
    });
}

TEST_F(EmailWindowTest, DefaultResetsToTheFirstProviderAndCancelKeepsTheRecord) {
    const EmailSettings stored = Record(L"127.0.0.1", 2525, 1);
    EmailSettings settings = stored;
    const int result = Show(settings, [](HWND window) {
        Press(window, kDefaultButtonId);
        EXPECT_EQ(ShownServer(window), (Server{L"Gmail", L"smtp.gmail.com", L"587", false, false}));
        for (int id : {kUserId, kPasswordId, kSenderId, kRecipientId}) EXPECT_EQ(Text(window, id), L"") << id;
        Press(window, kCancelButtonId);
    });
    EXPECT_EQ(result, kPropertyCancelled);
    EXPECT_EQ(std::memcmp(&settings, &stored, sizeof settings), 0);
}

TEST_F(EmailWindowTest, OkWritesEveryFieldOfAnotherServer) {
    EmailSettings settings;
    const int result = Show(settings, [](HWND window) {
        for (int i = 0; i < 3; ++i) Press(window, kProviderId);  // on to "Other"
        Type(window, kHostId, L"mail.example.org");
        Type(window, kPortId, L"2525");
        Press(window, kSslId);
        TypeAccount(window);
        Press(window, kOkButtonId);
    });
    EXPECT_EQ(result, kPropertyOk);
    EXPECT_EQ(std::wstring(settings.host), L"mail.example.org");
    EXPECT_EQ(settings.port, 2525);
    EXPECT_EQ(settings.protocol, 1);
    EXPECT_EQ(std::wstring(settings.user), L"alarm");
    EXPECT_EQ(std::wstring(settings.password), L"pw");
    EXPECT_EQ(std::wstring(settings.sender), L"cam@example.org");
    EXPECT_EQ(std::wstring(settings.recipient), L"me@example.org");
}

TEST_F(EmailWindowTest, OkRefusesWhatTheDeviceCouldNotKeepAndSaysWhy) {
    const std::wstring fifty(50, L'a');
    const std::wstring accents(25, L'\u00e9');  // 50 bytes of UTF-8
    const struct {
        int field;
        std::wstring text;
        std::wstring message;  // empty: accepted
    } cases[] = {
        {kUserId, L"", kMissing},  // also a server that needs no account cannot be entered
        {kRecipientId, L"", kMissing},
        {kPortId, L"0", L"The port must be a number from 1 to 65535."},
        {kPortId, L"65536", L"The port must be a number from 1 to 65535."},
        {kPortId, L"99999", L"The port must be a number from 1 to 65535."},
        {kPortId, L"65535", L""},
        {kPortId, L"1", L""},
        {kPasswordId, fifty, L""},
        {kPasswordId, accents + L"a", L""},  // 51 bytes: the device's whole field
        {kPasswordId, accents + L"ab", L"\"SMTP Password\""},
        {kHostId, std::wstring(50, L'\u4e2d'), L"\"Hostname\""},
        {kSenderId, L"caf\u00e9" + std::wstring(45, L'x') + L"\u00e9", L"\"Sender\""},
    };
    for (const auto& c : cases) {
        EmailSettings settings = Record(L"127.0.0.1", 2525, 0);
        const int result = Show(settings, [&](HWND window) {
            Type(window, c.field, c.text);
            if (c.message.empty()) {
                Press(window, kOkButtonId);  // accepted: the window goes
                return;
            }
            const std::optional<std::wstring> message = PressOkForMessage(window);
            ASSERT_TRUE(message) << "nothing said for " << c.field;
            EXPECT_NE(message->find(c.message), std::wstring::npos) << c.field;
            EXPECT_TRUE(IsWindow(window)) << "the window stays open";
            Press(window, kCancelButtonId);
        });
        if (c.message.empty()) {
            EXPECT_EQ(result, kPropertyOk) << c.field;
            if (c.field == kPasswordId) {
                EXPECT_EQ(std::wstring(settings.password), c.text);
            }
            if (c.field == kPortId) {
                EXPECT_EQ(std::to_wstring(settings.port), c.text);
            }
        } else {
            EXPECT_EQ(result, kPropertyCancelled) << c.field;
            EXPECT_EQ(std::wstring(settings.host), L"127.0.0.1");
        }
    }
}

TEST_F(EmailWindowTest, APressBesideTheFieldsEndsTheEditing) {
    EmailSettings settings;
    Show(settings, [](HWND window) {
        Press(window, kUserId);
        EXPECT_TRUE(IsChild(GetDlgItem(window, kUserId), GetFocus()));
        Click(OnScreen(window, POINT{300, 560}));
        EXPECT_EQ(GetFocus(), window);
        Press(window, kCancelButtonId);
    });
}

}  // namespace
}  // namespace kestrova::uitest
