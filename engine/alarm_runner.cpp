// The alarm runner: on a trigger the device runs its alarm actions (engine/alarm_run.h) on a thread of its
// own, a pass every 500 ms, until seven seconds after the last trigger.
#include <mutex>
#include <string>
#include <system_error>

#include "engine/alarm_run.h"
#include "engine/device.h"
#include "platform/base/clock.h"
#include "platform/base/log.h"
#include "platform/base/text.h"

namespace kestrova {
namespace {

constexpr int32_t kAlarmHoldSeconds = 7;
constexpr uint64_t kPassMs = 500;
constexpr size_t kMaxNameBytes = 255;

}  // namespace

int Device::TriggerAlarm() {
    std::string failure;
    {
        std::lock_guard<CriticalSection> lock(alarm_.lock);
        alarm_.hold = kAlarmHoldSeconds;
        if (alarm_.running) return 1;
        // The flag is set here rather than by the thread, so that a trigger before the new thread runs only
        // extends the alarm. Once the thread has cleared it, it takes no alarm lock any more: waiting for it
        // under the lock is safe.
        alarm_.running = 1;
        alarm_.worker.Join();
        try {
            // After the Join no thread of this worker runs: Start begins one or throws.
            alarm_.worker.Start([this](StopFlag& stop) { RunAlarmActions(stop); });
            return 1;
        } catch (const std::system_error& error) {
            alarm_.running = 0;
            failure = error.what();
        }
    }
    // Outside the alarm lock: the name is under the window lock, and the two are never nested.
    LogError("alarm", NameForLog() + ": no thread for the alarm: " + failure);
    return 0;
}

int Device::StopAlarm() {
    if (!alarm_.worker.Running()) return 1;
    alarm_.worker.Stop();
    return 1;
}

AlarmPlan Device::ReadAlarmPlan() {
    AlarmPlan plan;
    {
        std::lock_guard<CriticalSection> lock(settingsLock_);
        plan.actions = options_.actions;
        plan.runFile = options_.runFilePath;
        plan.sendEmail = options_.sendEmail != 0;
        plan.mail.smtpServer = options_.smtpServer;
        plan.mail.smtpPort = options_.smtpPort;
        plan.mail.smtpProtocol = options_.smtpProtocol;
        plan.mail.smtpUser = options_.smtpUser;
        plan.mail.smtpPassword = options_.smtpPassword;
        plan.mail.sender = options_.emailSender;
        plan.mail.recipient = options_.emailRecipient;
        plan.photoFormat = options_.photoFormat;
        plan.photoQuality = options_.photoQuality;
    }
    {
        std::lock_guard<CriticalSection> lock(windowLock_);
        plan.storage = storageFolder_;
        char name[kMaxNameBytes + 1];
        // Cut at a character boundary; the length it gives is not needed.
        ToUtf8Bounded(displayName_, name, kMaxNameBytes);
        plan.mail.deviceName = name;
    }
    if (!plan.actions[kActionSave]) {
        plan.actions[kActionPhoto] = 0;
        plan.actions[kActionVideo] = 0;
        plan.actions[kActionAudio] = 0;
    }
    return plan;
}

bool Device::AlarmGoesOn(const StopFlag& stop) {
    std::lock_guard<CriticalSection> lock(alarm_.lock);
    return !stop.Requested() && alarm_.hold > 0;
}

void Device::RunAlarmActions(StopFlag& stop) {
    uint64_t noted = GetClock().Milliseconds();
    {
        std::lock_guard<CriticalSection> lock(alarm_.lock);
        alarm_.running = 1;
    }
    AlarmRun run(*this, ReadAlarmPlan());
    SetState(kStateAlarm, 1);
    run.Begin();
    for (uint64_t elapsed = 0; AlarmGoesOn(stop);) {
        run.Pass();
        stop.SleepUntilUnlessStopped(noted + kPassMs);  // a stop cuts it short; the loop's test sees it
        noted = GetClock().Milliseconds();
        elapsed += kPassMs;
        if (elapsed >= 1000) {
            std::lock_guard<CriticalSection> lock(alarm_.lock);
            --alarm_.hold;
            elapsed = 0;
        }
    }
    run.End();
    {
        std::lock_guard<CriticalSection> lock(alarm_.lock);
        alarm_.running = 0;
    }
    SetState(kStateAlarm, 0);
}

}  // namespace kestrova
