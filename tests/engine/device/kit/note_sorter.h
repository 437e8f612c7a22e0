#pragma once
// Takes a recorder's notifications and hands them out by kind, keeping the other kinds for later: a test can
// look at the levels and then at the state changes of the same stretch.

#include <algorithm>
#include <vector>

#include "tests/engine/device/kit/notify_recorder.h"

namespace kestrova::testing {

class NoteSorter {
public:
    explicit NoteSorter(NotifyRecorder& recorder) : recorder_(recorder) {}

    // The arguments of the notifications of `kind` that arrived since the last call for that kind.
    std::vector<int> Take(uint16_t kind) {
        for (const Note& n : recorder_.Drain()) pending_.push_back(n);
        std::vector<int> arguments;
        for (const Note& n : pending_) {
            if (n.kind == kind) arguments.push_back(n.argument);
        }
        std::erase_if(pending_, [kind](const Note& n) { return n.kind == kind; });
        return arguments;
    }

private:
    NotifyRecorder& recorder_;
    std::vector<Note> pending_;
};

}  // namespace kestrova::testing
