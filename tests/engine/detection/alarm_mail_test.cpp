// The alarm's e-mail seam: what an alarm hands to the installed mail sender, and when.
#include "engine/alarm_mail.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "tests/engine/detection/alarm_fixture.h"
#include "tests/platform/base/log_capture.h"

namespace kestrova::testing {
namespace {

// Installs itself as the alarm mail sender for its lifetime and keeps every mail it is handed.
class MailCatcher {
public:
    MailCatcher()
        : old_(SetAlarmMailSender([this](const AlarmMail& mail) {
              std::lock_guard<std::mutex> hold(mutex_);
              mails_.push_back(mail);
          })) {}
    ~MailCatcher() { SetAlarmMailSender(std::move(old_)); }

    std::vector<AlarmMail> Mails() {
        std::lock_guard<std::mutex> hold(mutex_);
        return mails_;
    }

private:
    std::mutex mutex_;
    std::vector<AlarmMail> mails_;
    AlarmMailSender old_;
};

void SetMailSettings(TestDevice& device) {
    device.SetSendEmail(1);
    device.SetSmtpServer(L"127.0.0.1");
    device.SetSmtpPort(2525);
    device.SetSmtpProtocol(1);
    device.SetSmtpUser(L"kestrova");
    device.SetSmtpPassword(L"s3cret");
    device.SetEmailSender(L"cam@kestrova.test");
    device.SetEmailRecipient(L"me@kestrova.test");
}

TEST(AlarmMailTest, TheThirdPhotoHandsTheMailWithTheSettingsReadAtTheStart) {
    MailCatcher catcher;
    Alarmed a;
    SetMailSettings(a.device);
    a.Start();
    a.device.SetEmailRecipient(L"later@kestrova.test");  // takes effect at the next alarm
    ASSERT_TRUE(a.Pass());
    EXPECT_TRUE(catcher.Mails().empty());  // two photos so far
    ASSERT_TRUE(a.Pass());

    const std::vector<AlarmMail> mails = catcher.Mails();
    ASSERT_EQ(mails.size(), 1u);
    const AlarmMail& m = mails[0];
    EXPECT_EQ(m.deviceName, "Hall");
    EXPECT_EQ(m.smtpServer, "127.0.0.1");
    EXPECT_EQ(m.smtpPort, 2525);
    EXPECT_EQ(m.smtpProtocol, 1);
    EXPECT_EQ(m.smtpUser, "kestrova");
    EXPECT_EQ(m.smtpPassword, "s3cret");
    EXPECT_EQ(m.sender, "cam@kestrova.test");
    EXPECT_EQ(m.recipient, "me@kestrova.test");
    const std::string photos = a.storage.native() + "Photos/26-01-05/26-01-05 00-00-0";
    EXPECT_EQ(m.photos, (std::vector<std::string>{photos + "0 000 Email.png", photos + "0 001 Email.png",
                                                  photos + "1 000 Email.png"}));

    a.PassToTheEnd();
    EXPECT_EQ(catcher.Mails().size(), 1u);  // one mail an alarm
}

TEST(AlarmMailTest, NoMailWhenSendEmailIsOffOrTheAlarmEndsBeforeTheThirdPhoto) {
    MailCatcher catcher;
    Alarmed off;
    SetMailSettings(off.device);
    off.device.SetSendEmail(0);
    off.Start();
    off.PassToTheEnd();

    Alarmed stopped;
    SetMailSettings(stopped.device);
    stopped.Start();
    ASSERT_TRUE(stopped.Pass());
    stopped.device.StopAlarm();
    EXPECT_TRUE(catcher.Mails().empty());
}

TEST(AlarmMailTest, WithoutASenderTheMailIsLoggedAsNotSentAndThePhotosStillTaken) {
    LogCapture log;
    const AlarmMailSender old = SetAlarmMailSender({});
    Alarmed a;
    SetMailSettings(a.device);
    a.device.SetSavePhotos(0);
    a.Start();
    EXPECT_EQ(a.PassToTheEnd(), 14);
    EXPECT_EQ(a.Photos().size(), 3u);
    EXPECT_EQ(log.LinesWith("alarm:"),
              std::vector<std::string>{"error: alarm: Hall: the e-mail was not sent, the program has no mail "
                                       "sender"});
    SetAlarmMailSender(old);
}

}  // namespace
}  // namespace kestrova::testing
