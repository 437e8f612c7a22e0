#pragma once
// One buffer travelling down a pin connection on a streaming thread.

#include <cstddef>
#include <cstdint>

#include "platform/media/media_type.h"

namespace kestrova::media {

struct MediaSample {
    uint8_t* data = nullptr;  // writable: a filter may change the bytes before it passes them on
    size_t length = 0;
    bool hasTime = false;
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    bool syncPoint = true;
    // For file streams (MEDIATYPE_Stream): the byte offset in the file at which `data` belongs.
    int64_t position = 0;
    // For file streams: everything written before must be durable (on the disk) before these bytes are
    // written, because they describe it, as a header describes the data it counts.
    bool syncFirst = false;
};

}  // namespace kestrova::media
