#include "engine/alarm_mail.h"

#include <memory>
#include <mutex>
#include <utility>

#include "platform/base/log.h"

namespace kestrova {
namespace {

// The sender is replaced rarely and called from any device's alarm thread: callers take a reference to the
// current one, so a sender replaced during a call stays alive until that call returns.
std::mutex senderLock;
std::shared_ptr<const AlarmMailSender> installedSender;

}  // namespace

AlarmMailSender SetAlarmMailSender(AlarmMailSender sender) {
    auto next = sender ? std::make_shared<const AlarmMailSender>(std::move(sender)) : nullptr;
    std::lock_guard<std::mutex> lock(senderLock);
    std::swap(installedSender, next);
    return next ? *next : AlarmMailSender();
}

bool SendAlarmMail(const AlarmMail& mail) {
    std::shared_ptr<const AlarmMailSender> sender;
    {
        std::lock_guard<std::mutex> lock(senderLock);
        sender = installedSender;
    }
    if (!sender) {
        LogError("alarm", mail.deviceName + ": the e-mail was not sent, the program has no mail sender");
        return false;
    }
    (*sender)(mail);
    return true;
}

}  // namespace kestrova
