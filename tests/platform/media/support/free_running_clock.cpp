#include "tests/platform/media/support/free_running_clock.h"

#include <ctime>

namespace kestrova::mediatest {

int64_t FreeRunningClock::CalendarSeconds() {
    return startSeconds_ + int64_t(ms_.load() / 1000);
}

LocalTime FreeRunningClock::Now() {
    const uint64_t ms = ms_.load();
    const std::time_t t = std::time_t(startSeconds_ + int64_t(ms / 1000));
    std::tm tm{};
    gmtime_r(&t, &tm);
    LocalTime lt;
    lt.year = tm.tm_year + 1900;
    lt.month = tm.tm_mon + 1;
    lt.day = tm.tm_mday;
    lt.hour = tm.tm_hour;
    lt.minute = tm.tm_min;
    lt.second = tm.tm_sec;
    lt.millisecond = int(ms % 1000);
    lt.dayOfWeek = tm.tm_wday;
    return lt;
}

bool FreeRunningClock::WaitFor(std::unique_lock<std::mutex>&, std::condition_variable&, uint32_t ms,
                               const std::function<bool()>& ready) {
    if (ready()) return true;
    ms_ += ms;
    return ready();
}

}  // namespace kestrova::mediatest
