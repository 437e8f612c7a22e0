#pragma once
// A message-only window on the test's thread that collects the notifications devices post to it.

#include <cstdint>
#include <vector>

#include "platform/ui/types.h"

namespace kestrova {
class Device;
}

namespace kestrova::testing {

struct Note {
    uint16_t kind = 0;
    uint16_t argument = 0;
    Device* device = nullptr;
    bool operator==(const Note&) const = default;
};

class NotifyRecorder {
public:
    NotifyRecorder();
    ~NotifyRecorder();
    NotifyRecorder(const NotifyRecorder&) = delete;
    NotifyRecorder& operator=(const NotifyRecorder&) = delete;

    HWND window() const { return window_; }
    // Takes every device notification queued for the window so far, oldest first.
    std::vector<Note> Drain();
    // Only those of one kind; the others are taken and dropped.
    std::vector<Note> Drain(uint16_t kind);

private:
    HWND window_ = nullptr;
};

}  // namespace kestrova::testing
