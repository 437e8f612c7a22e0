#pragma once
// Paces a stream on the installed clock: item n is due n intervals after the first. A stream that falls
// behind delivers at once until it has caught up.

#include <cstdint>

#include "platform/base/thread.h"

namespace kestrova::media {

class StreamPacer {
public:
    explicit StreamPacer(uint32_t intervalMs);

    // Waits until the next item is due; false when a stop was requested first.
    bool WaitNext(StopFlag& stop);
    // How many items were due so far.
    uint64_t Count() const { return count_; }

private:
    uint32_t intervalMs_;
    uint64_t start_ = 0;
    uint64_t count_ = 0;
};

}  // namespace kestrova::media
