// The detection worker of a monitored device: cameras compare each frame with the previous one and post the
// motion level every 200 ms; microphones post the level their capture callback keeps.
#include <mutex>
#include <system_error>

#include "engine/device.h"
#include "platform/base/log.h"

namespace kestrova {
namespace {

constexpr char kComponent[] = "detection";
constexpr uint32_t kDetectionPassMs = 200;

}  // namespace

int Device::StartDetection() {
    {
        std::lock_guard<CriticalSection> lock(detectionLock_);
        // The worker sets its running flag only once it runs: a start right after a start must not take the
        // thread that is on its way for a failure and tear down the graph it is about to use.
        if (detectionRunning_ || detectionWorker_.Running()) return 1;
    }
    int video, audio;
    {
        std::lock_guard<CriticalSection> lock(settingsLock_);
        video = options_.actions[kActionVideo];
        audio = options_.actions[kActionAudio];
    }
    const bool microphone = GetType() == kDeviceMicrophone;
    // Detection goes on without a recording graph; only the alarm's recording is lost, so say so now.
    if (video && !microphone && !BuildVideoRecordingGraph())
        LogError(kComponent, NameForLog() + ": no video recording graph, alarms will not record video");
    if (audio && microphone && !BuildAudioRecordingGraph())
        LogError(kComponent, NameForLog() + ": no audio recording graph, alarms will not record sound");
    try {
        // No worker runs (tested above): Start begins one or throws.
        detectionWorker_.Start([this, microphone](StopFlag& stop) {
            if (microphone) {
                RunSoundLoop(stop);
            } else {
                RunMotionLoop(stop);
            }
        });
    } catch (const std::system_error& error) {
        LogError(kComponent, NameForLog() + ": no thread for detection: " + error.what());
        // Tearing down what was built just now; a graph that was not built has nothing to tear down.
        if ((video && !microphone) || (audio && microphone)) TearDownRecordingGraph();
        return 0;
    }
    return 1;
}

int Device::StopDetection() {
    if (!detectionWorker_.Running()) return 1;
    detectionWorker_.Stop();
    return 1;
}

void Device::RunMotionLoop(StopFlag& stop) {
    {
        std::lock_guard<CriticalSection> lock(detectionLock_);
        detectionRunning_ = 1;
    }
    int video;
    {
        std::lock_guard<CriticalSection> lock(settingsLock_);
        video = options_.actions[kActionVideo];
    }
    const HWND window = GetNotifyWindow();
    SetState(kStateMonitoring, 1);

    while (!stop.Requested()) {
        {
            // Held for the whole pass, so the capture thread never replaces the frame half-way through.
            std::lock_guard<CriticalSection> frame(frameLock_);
            MotionSample sample;
            int32_t frameBytes = 0;
            if (SampleCurrentFrame(sample, &frameBytes)) {
                if (motionReferenceSize_ == frameBytes) {
                    const MotionCount count = CompareMotionSamples(sample, motionReference_, ignoreMask_);
                    int sensitivity;
                    {
                        std::lock_guard<CriticalSection> settings(settingsLock_);
                        sensitivity = options_.sensitivity;
                    }
                    Notify(window, kNotifyLevel, uint16_t(MotionLevel(count, sensitivity)));
                }
                motionReference_ = sample;
                motionReferenceSize_ = frameBytes;
            }
        }
        stop.SleepUnlessStopped(kDetectionPassMs);  // a stop cuts it short; the loop's test sees it
    }

    {
        std::lock_guard<CriticalSection> frame(frameLock_);
        motionReferenceSize_ = 0;
    }
    if (video) TearDownRecordingGraph();  // 0 only when no graph was built, which was logged at the start
    {
        std::lock_guard<CriticalSection> lock(detectionLock_);
        detectionRunning_ = 0;
    }
    SetState(kStateMonitoring, 0);
}

void Device::RunSoundLoop(StopFlag& stop) {
    {
        std::lock_guard<CriticalSection> lock(detectionLock_);
        detectionRunning_ = 1;
    }
    int audio;
    {
        std::lock_guard<CriticalSection> lock(settingsLock_);
        audio = options_.actions[kActionAudio];
    }
    const HWND window = GetNotifyWindow();
    SetState(kStateMonitoring, 1);

    while (!stop.Requested()) {
        {
            std::lock_guard<CriticalSection> frame(frameLock_);
            Notify(window, kNotifyLevel, uint16_t(soundLevel_));
        }
        stop.SleepUnlessStopped(kDetectionPassMs);  // a stop cuts it short; the loop's test sees it
    }

    if (audio) TearDownRecordingGraph();  // 0 only when no graph was built, which was logged at the start
    {
        std::lock_guard<CriticalSection> lock(detectionLock_);
        detectionRunning_ = 0;
    }
    SetState(kStateMonitoring, 0);
}

}  // namespace kestrova
