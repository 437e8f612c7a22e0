#include "platform/media/stream_pacer.h"

#include "platform/base/clock.h"

namespace kestrova::media {

StreamPacer::StreamPacer(uint32_t intervalMs) : intervalMs_(intervalMs) {}

bool StreamPacer::WaitNext(StopFlag& stop) {
    Clock& clock = GetClock();
    if (count_ == 0) start_ = clock.Milliseconds();
    const uint64_t due = start_ + count_ * intervalMs_;
    if (!stop.SleepUntilUnlessStopped(due)) return false;
    ++count_;
    return true;
}

}  // namespace kestrova::media
