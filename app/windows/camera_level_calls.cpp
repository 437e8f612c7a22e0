#include "app/windows/camera_level_calls.h"

#include <deque>
#include <mutex>
#include <system_error>

#include "engine/device_settings.h"
#include "engine/ipcam/ip_camera_device.h"
#include "platform/base/thread.h"
#include "platform/ui/messages.h"

namespace kestrova {
namespace {

struct Request {
    PictureLevel level;
    bool set;
    int value;
};

// A camera of its own with the listed camera's address, port and credentials: the calls' copy of the
// connection. It is never powered, so it runs no thread and reports to no window.
std::unique_ptr<Device> ConnectionCopy(Device& camera) {
    auto settings = std::make_unique<DeviceSettings>();
    camera.GetSettings(*settings);
    IpCameraParams params;
    params.port = settings->GetCameraPort();
    settings->GetCameraHost().copy(params.host, sizeof params.host - 1);
    settings->GetCameraUser().copy(params.user, sizeof params.user - 1);
    settings->GetCameraPassword().copy(params.password, sizeof params.password - 1);
    auto copy = std::make_unique<IpCameraDevice>();
    copy->Init(&params);
    return copy;
}

int Run(Device& camera, const Request& r) {
    if (r.level == PictureLevel::Brightness)
        return r.set ? camera.SetBrightness(r.value, 0) : camera.GetBrightness(0);
    return r.set ? camera.SetContrast(r.value, 0) : camera.GetContrast(0);
}

}  // namespace

struct CameraLevelCalls::Shared {
    std::unique_ptr<Device> camera;  // touched only by the thread that runs the requests
    HWND replyTo;
    UINT replyMessage;

    std::mutex mutex;  // guards the fields below
    std::deque<Request> pending;
    bool running = false;
    bool abandoned = false;

    void RunPending() {
        for (;;) {
            Request next;
            {
                std::lock_guard<std::mutex> lock(mutex);
                if (pending.empty() || abandoned) {
                    running = false;
                    return;
                }
                next = pending.front();
                pending.pop_front();
            }
            const int result = Run(*camera, next);
            std::lock_guard<std::mutex> lock(mutex);
            if (!abandoned) PostMessageW(replyTo, replyMessage, MAKEWPARAM(int(next.level), next.set ? 1 : 0), LPARAM(result));
        }
    }
};

CameraLevelCalls::CameraLevelCalls(Device& camera, HWND replyTo, UINT replyMessage)
    : shared_(std::make_shared<Shared>()) {
    shared_->camera = ConnectionCopy(camera);
    shared_->replyTo = replyTo;
    shared_->replyMessage = replyMessage;
}

CameraLevelCalls::~CameraLevelCalls() {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->abandoned = true;
    shared_->pending.clear();
}

void CameraLevelCalls::Read(PictureLevel level) {
    Queue(level, false, 0);
}

void CameraLevelCalls::Set(PictureLevel level, int value) {
    Queue(level, true, value);
}

void CameraLevelCalls::Queue(PictureLevel level, bool set, int value) {
    const Request request{level, set, value};
    std::lock_guard<std::mutex> lock(shared_->mutex);
    bool replaced = false;
    for (Request& queued : shared_->pending) {
        if (queued.level == level && queued.set && request.set) {
            queued.value = value;
            replaced = true;
        }
    }
    if (!replaced) shared_->pending.push_back(request);
    if (shared_->running) return;
    try {
        StartDetached([shared = shared_] { shared->RunPending(); });
        shared_->running = true;
    } catch (const std::system_error&) {
        shared_->pending.clear();  // no thread: the levels stay as the sliders show them
    }
}

}  // namespace kestrova
