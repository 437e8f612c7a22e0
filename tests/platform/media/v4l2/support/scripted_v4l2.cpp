#include "scripted_v4l2.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace kestrova::mediatest {
namespace {

constexpr uint32_t kOffsetStep = 1 << 20;

uint32_t BytesPerFrame(const ScriptedCapture& capture) {
    const uint32_t pixels = capture.width * capture.height;
    return capture.pixelFormat == V4L2_PIX_FMT_YUYV ? pixels * 2 : pixels * 3;
}

int Fail(int error) {
    errno = error;
    return -1;
}

std::string UsualName(uint32_t id) {
    switch (id) {
        case V4L2_CID_BRIGHTNESS:
            return "Brightness";
        case V4L2_CID_CONTRAST:
            return "Contrast";
        default:
            return "Control";
    }
}

bool IsMenu(const ScriptedControl& control) {
    return control.type == V4L2_CTRL_TYPE_MENU || control.type == V4L2_CTRL_TYPE_INTEGER_MENU;
}

ScriptedControl* Find(std::vector<ScriptedControl>& controls, uint32_t id) {
    for (ScriptedControl& control : controls)
        if (control.id == id) return &control;
    return nullptr;
}

// 0 when the control would take `value`, else the error number a driver gives.
int Refusal(const ScriptedControl& control, int32_t value) {
    if (control.flags & V4L2_CTRL_FLAG_READ_ONLY) return EACCES;
    if (control.type == V4L2_CTRL_TYPE_BUTTON) return 0;
    if (value < control.minimum || value > control.maximum) return ERANGE;
    if (control.type == V4L2_CTRL_TYPE_MENU &&
        (size_t(value) >= control.menu.size() || control.menu[size_t(value)].empty()))
        return EINVAL;
    return 0;
}

void Apply(ScriptedControl& control, int32_t value) {
    control.value = control.type == V4L2_CTRL_TYPE_BUTTON ? control.value + 1 : value;
}

}  // namespace

ScriptedV4l2::ScriptedV4l2() {
    media::SetV4l2Kernel(this);
}

ScriptedV4l2::~ScriptedV4l2() {
    media::SetV4l2Kernel(nullptr);
}

void ScriptedV4l2::AddCamera(const std::string& node, ScriptedCamera camera) {
    std::lock_guard<std::mutex> lock(mutex_);
    nodes_[node].camera = std::move(camera);
}

void ScriptedV4l2::Unplug(const std::string& node) {
    std::lock_guard<std::mutex> lock(mutex_);
    nodes_[node].present = false;
    changed_.notify_all();
}

void ScriptedV4l2::PushFrame(const std::string& node, std::vector<uint8_t> bytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    nodes_[node].pending.push_back(std::move(bytes));
    changed_.notify_all();
}

bool ScriptedV4l2::WaitUntilTaken(const std::string& node) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(10), [&] { return nodes_[node].pending.empty(); });
}

ScriptedCapture ScriptedV4l2::Capture(const std::string& node) {
    std::lock_guard<std::mutex> lock(mutex_);
    return nodes_[node].capture;
}

bool ScriptedV4l2::Streaming(const std::string& node) {
    std::lock_guard<std::mutex> lock(mutex_);
    return nodes_[node].streaming;
}

int32_t ScriptedV4l2::ControlValue(const std::string& node, uint32_t id) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const ScriptedControl& control : nodes_[node].camera.controls) {
        if (control.id == id) return control.value;
    }
    return -1;
}

int ScriptedV4l2::OpenDescriptors(const std::string& node) {
    std::lock_guard<std::mutex> lock(mutex_);
    return int(
        std::count_if(descriptors_.begin(), descriptors_.end(), [&](auto& d) { return d.second == node; }));
}

int ScriptedV4l2::MappedBuffers() {
    std::lock_guard<std::mutex> lock(mutex_);
    return mapped_;
}

std::vector<std::string> ScriptedV4l2::VideoNodes() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> nodes;
    for (const auto& [path, node] : nodes_) {
        if (node.present) nodes.push_back(path);
    }
    return nodes;
}

std::vector<std::pair<std::string, std::string>> ScriptedV4l2::StableLinks() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::pair<std::string, std::string>> links;
    for (const auto& [path, node] : nodes_) {
        if (!node.present) continue;
        for (const std::string& link : node.camera.links) links.emplace_back(link, path);
    }
    std::sort(links.begin(), links.end());
    return links;
}

int ScriptedV4l2::Open(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = nodes_.find(path);
    if (it == nodes_.end() || !it->second.present) return Fail(ENOENT);
    descriptors_[nextFd_] = path;
    return nextFd_++;
}

void ScriptedV4l2::Close(int fd) {
    std::lock_guard<std::mutex> lock(mutex_);
    descriptors_.erase(fd);
}

ScriptedV4l2::Node* ScriptedV4l2::NodeOf(int fd) {
    const auto it = descriptors_.find(fd);
    return it == descriptors_.end() ? nullptr : &nodes_[it->second];
}

int ScriptedV4l2::Ioctl(int fd, unsigned long request, void* argument) {
    std::lock_guard<std::mutex> lock(mutex_);
    Node* node = NodeOf(fd);
    if (!node) return Fail(EBADF);
    if (!node->present) return Fail(ENODEV);
    const int result = IoctlLocked(*node, request, argument);
    changed_.notify_all();
    return result;
}

int ScriptedV4l2::IoctlLocked(Node& node, unsigned long request, void* argument) {
    const ScriptedCamera& camera = node.camera;
    switch (request) {
        case VIDIOC_QUERYCAP: {
            auto& capability = *static_cast<v4l2_capability*>(argument);
            capability = {};
            std::strncpy(reinterpret_cast<char*>(capability.driver), "scripted",
                         sizeof(capability.driver) - 1);
            std::strncpy(reinterpret_cast<char*>(capability.card), camera.card.c_str(),
                         sizeof(capability.card) - 1);
            capability.device_caps = camera.deviceCaps;
            capability.capabilities = camera.deviceCaps | V4L2_CAP_DEVICE_CAPS;
            return 0;
        }
        case VIDIOC_ENUM_FMT: {
            auto& description = *static_cast<v4l2_fmtdesc*>(argument);
            if (description.index >= camera.formats.size()) return Fail(EINVAL);
            description.pixelformat = camera.formats[description.index].pixelFormat;
            return 0;
        }
        case VIDIOC_ENUM_FRAMESIZES: {
            auto& entry = *static_cast<v4l2_frmsizeenum*>(argument);
            for (const ScriptedFormat& format : camera.formats) {
                if (format.pixelFormat != entry.pixel_format) continue;
                if (entry.index >= format.sizes.size()) return Fail(EINVAL);
                entry.type = V4L2_FRMSIZE_TYPE_DISCRETE;
                entry.discrete = {format.sizes[entry.index].first, format.sizes[entry.index].second};
                return 0;
            }
            return Fail(EINVAL);
        }
        case VIDIOC_ENUM_FRAMEINTERVALS: {
            auto& entry = *static_cast<v4l2_frmivalenum*>(argument);
            for (const ScriptedFormat& format : camera.formats) {
                if (format.pixelFormat != entry.pixel_format || entry.index > 0) continue;
                entry.type = V4L2_FRMIVAL_TYPE_DISCRETE;
                entry.discrete = {1, format.framesPerSecond};
                return 0;
            }
            return Fail(EINVAL);
        }
        case VIDIOC_S_FMT:
            return SetFormat(node, *static_cast<v4l2_format*>(argument));
        case VIDIOC_S_PARM:
            return 0;
        case VIDIOC_REQBUFS: {
            auto& request = *static_cast<v4l2_requestbuffers*>(argument);
            if (node.streaming) return Fail(EBUSY);
            node.buffers.assign(request.count, std::vector<uint8_t>(BytesPerFrame(node.capture)));
            node.queued.clear();
            return 0;
        }
        case VIDIOC_QUERYBUF: {
            auto& buffer = *static_cast<v4l2_buffer*>(argument);
            if (buffer.index >= node.buffers.size()) return Fail(EINVAL);
            buffer.length = uint32_t(node.buffers[buffer.index].size());
            buffer.m.offset = buffer.index * kOffsetStep;
            return 0;
        }
        case VIDIOC_QBUF: {
            auto& buffer = *static_cast<v4l2_buffer*>(argument);
            if (buffer.index >= node.buffers.size()) return Fail(EINVAL);
            node.queued.push_back(buffer.index);
            return 0;
        }
        case VIDIOC_DQBUF:
            return Dequeue(node, *static_cast<v4l2_buffer*>(argument));
        case VIDIOC_STREAMON:
            node.streaming = true;
            return 0;
        case VIDIOC_STREAMOFF:
            node.streaming = false;
            node.queued.clear();
            return 0;
        case VIDIOC_QUERYCTRL:
            return QueryControl(node, *static_cast<v4l2_queryctrl*>(argument));
        case VIDIOC_QUERYMENU:
            return QueryMenu(node, *static_cast<v4l2_querymenu*>(argument));
        case VIDIOC_G_CTRL:
            return GetControl(node, *static_cast<v4l2_control*>(argument));
        case VIDIOC_S_CTRL:
            return SetControl(node, *static_cast<v4l2_control*>(argument));
        case VIDIOC_S_EXT_CTRLS:
            return SetControls(node, *static_cast<v4l2_ext_controls*>(argument));
        default:
            return Fail(ENOTTY);
    }
}

int ScriptedV4l2::SetFormat(Node& node, v4l2_format& format) {
    if (node.streaming) return Fail(EBUSY);
    v4l2_pix_format& pix = format.fmt.pix;
    const ScriptedFormat* chosen = nullptr;
    for (const ScriptedFormat& offered : node.camera.formats) {
        if (offered.pixelFormat == pix.pixelformat) chosen = &offered;
    }
    if (!chosen) chosen = &node.camera.formats.front();  // as drivers do: another format, not a failure
    pix.pixelformat = chosen->pixelFormat;
    const bool sizeOffered = std::any_of(chosen->sizes.begin(), chosen->sizes.end(), [&](auto& size) {
        return size.first == pix.width && size.second == pix.height;
    });
    if (!sizeOffered) std::tie(pix.width, pix.height) = chosen->sizes.front();
    node.capture = {pix.pixelformat, pix.width, pix.height};
    pix.sizeimage = BytesPerFrame(node.capture);
    return 0;
}

int ScriptedV4l2::QueryControl(Node& node, v4l2_queryctrl& query) {
    const uint32_t flagBits = V4L2_CTRL_FLAG_NEXT_CTRL | V4L2_CTRL_FLAG_NEXT_COMPOUND;
    const uint32_t asked = query.id & ~flagBits;
    const ScriptedControl* found = nullptr;
    for (const ScriptedControl& control : node.camera.controls) {
        const bool fits = (query.id & V4L2_CTRL_FLAG_NEXT_CTRL) ? control.id > asked : control.id == asked;
        if (fits && (!found || control.id < found->id)) found = &control;
    }
    if (!found) return Fail(EINVAL);
    query = {};
    query.id = found->id;
    query.type = found->type;
    const std::string name = found->name.empty() ? UsualName(found->id) : found->name;
    std::strncpy(reinterpret_cast<char*>(query.name), name.c_str(), sizeof(query.name) - 1);
    query.minimum = found->minimum;
    query.maximum = found->maximum;
    query.step = found->step;
    query.default_value = found->defaultValue;
    query.flags = found->flags;
    return 0;
}

int ScriptedV4l2::QueryMenu(Node& node, v4l2_querymenu& item) {
    const ScriptedControl* control = Find(node.camera.controls, item.id);
    if (!control || !IsMenu(*control) || int64_t(item.index) < control->minimum ||
        int64_t(item.index) > control->maximum)
        return Fail(EINVAL);
    if (control->type == V4L2_CTRL_TYPE_INTEGER_MENU) {
        if (item.index >= control->integerMenu.size()) return Fail(EINVAL);
        item.value = control->integerMenu[item.index];
        return 0;
    }
    if (item.index >= control->menu.size() || control->menu[item.index].empty()) return Fail(EINVAL);
    std::memset(item.name, 0, sizeof item.name);
    std::strncpy(reinterpret_cast<char*>(item.name), control->menu[item.index].c_str(),
                 sizeof(item.name) - 1);
    return 0;
}

int ScriptedV4l2::GetControl(Node& node, v4l2_control& value) {
    const ScriptedControl* control = Find(node.camera.controls, value.id);
    if (!control) return Fail(EINVAL);
    if (control->type == V4L2_CTRL_TYPE_BUTTON || (control->flags & V4L2_CTRL_FLAG_WRITE_ONLY))
        return Fail(EACCES);
    value.value = control->value;
    return 0;
}

int ScriptedV4l2::SetControl(Node& node, v4l2_control& value) {
    ScriptedControl* control = Find(node.camera.controls, value.id);
    if (!control) return Fail(EINVAL);
    if (const int refusal = Refusal(*control, value.value)) return Fail(refusal);
    if (control->setError) return Fail(control->setError);
    Apply(*control, value.value);
    return 0;
}

// As drivers do: every value is checked before any is set, and a check that fails names no control.
int ScriptedV4l2::SetControls(Node& node, v4l2_ext_controls& request) {
    request.error_idx = request.count;
    for (uint32_t i = 0; i < request.count; ++i) {
        const ScriptedControl* control = Find(node.camera.controls, request.controls[i].id);
        if (!control) return Fail(EINVAL);
        if (const int refusal = Refusal(*control, request.controls[i].value)) return Fail(refusal);
    }
    for (uint32_t i = 0; i < request.count; ++i) {
        ScriptedControl& control = *Find(node.camera.controls, request.controls[i].id);
        if (control.setError) {
            request.error_idx = i;
            return Fail(control.setError);
        }
        Apply(control, request.controls[i].value);
    }
    return 0;
}

int ScriptedV4l2::Dequeue(Node& node, v4l2_buffer& buffer) {
    if (!node.streaming || node.queued.empty() || node.pending.empty()) return Fail(EAGAIN);
    const uint32_t index = node.queued.front();
    node.queued.pop_front();
    std::vector<uint8_t> frame = std::move(node.pending.front());
    node.pending.pop_front();
    std::vector<uint8_t>& memory = node.buffers[index];
    const size_t used = std::min(frame.size(), memory.size());
    std::copy_n(frame.begin(), used, memory.begin());
    buffer.index = index;
    buffer.bytesused = uint32_t(used);
    buffer.flags = 0;
    buffer.sequence = node.sequence++;
    buffer.timestamp = {long(buffer.sequence / 30), long(buffer.sequence % 30) * 33333};
    return 0;
}

void* ScriptedV4l2::Map(int fd, size_t length, int64_t offset) {
    std::lock_guard<std::mutex> lock(mutex_);
    Node* node = NodeOf(fd);
    if (!node || !node->present) return nullptr;
    const size_t index = size_t(offset / kOffsetStep);
    if (index >= node->buffers.size() || length > node->buffers[index].size()) return nullptr;
    ++mapped_;
    return node->buffers[index].data();
}

void ScriptedV4l2::Unmap(void*, size_t) {
    std::lock_guard<std::mutex> lock(mutex_);
    --mapped_;
}

int ScriptedV4l2::WaitForFrame(int fd, int timeoutMs) {
    std::unique_lock<std::mutex> lock(mutex_);
    Node* node = NodeOf(fd);
    if (!node) return -1;
    const bool woke = changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        return !node->present || (node->streaming && !node->queued.empty() && !node->pending.empty());
    });
    if (!woke) return 0;
    return node->present ? 1 : -1;
}

}  // namespace kestrova::mediatest
