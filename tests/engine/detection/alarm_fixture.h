#pragma once
// A test device in alarm, its 500 ms passes driven by the stepping clock, its photos in a temporary storage
// folder.

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/engine/device/kit/note_sorter.h"
#include "tests/engine/device/kit/stepping_clock.h"
#include "tests/engine/device/kit/test_device.h"
#include "tests/support/temp_folder.h"

namespace kestrova::testing {

// A mail sender's thread (the network services' one is detached) may read the clock after its alarm ended:
// the clocks of these tests stay alive until the program ends.
inline SteppingClock& KeptSteppingClock() {
    static std::vector<std::unique_ptr<SteppingClock>> clocks;
    clocks.push_back(std::make_unique<SteppingClock>());
    return *clocks.back();
}

struct Alarmed {
    SteppingClock& clock;
    TempFolder storage;
    NotifyRecorder recorder;
    NoteSorter notes{recorder};
    TestDevice device{kDeviceUsbCamera, L"Hall"};

    // Devices in alarm together share one clock.
    explicit Alarmed(SteppingClock& sharedClock = KeptSteppingClock()) : clock(sharedClock) {
        device.SetStorageFolder(storage.path());
        device.SetNotifyWindow(recorder.window());
        device.SetPlaySound(0);
        device.PutFrame(320, 240, 40, 90, 160);
    }
    ~Alarmed() {
        device.StopAlarm();
        SetClock(nullptr);
    }

    bool InAlarm() { return device.GetState(kStateAlarm) == 1; }
    // Triggers an alarm that is not running yet and waits for its first pass.
    void Start() {
        ASSERT_EQ(device.TriggerAlarm(), 1);
        ASSERT_TRUE(clock.AwaitWaits(1));
    }
    // Lets the next 500 ms pass; false once the alarm has ended.
    bool Pass() {
        EXPECT_TRUE(clock.Step(500, 1, [this] { return !InAlarm(); }));
        return InAlarm();
    }
    // Passes until the alarm ends; how many it took.
    int PassToTheEnd() {
        int passes = 0;
        while (passes < 1000) {
            ++passes;
            if (!Pass()) break;
        }
        return passes;
    }
    // The photos below "<storage>Photos/", relative to it, sorted.
    std::vector<std::string> Photos() {
        std::vector<std::string> names;
        const std::filesystem::path root = storage.native() + "Photos";
        if (!std::filesystem::exists(root)) return names;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
            if (entry.is_regular_file()) names.push_back(entry.path().lexically_relative(root).string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
};

}  // namespace kestrova::testing
