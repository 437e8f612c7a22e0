#pragma once
// A scripted V4L2 kernel for tests: camera nodes with the formats, sizes, rates and controls a test gives
// them, memory-mapped streaming of the frames the test pushes, and unplugging. Installed in place of the
// system's kernel calls for the life of the object.

#include <linux/videodev2.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/media/v4l2/v4l2_kernel.h"

namespace kestrova::mediatest {

struct ScriptedFormat {
    uint32_t pixelFormat = V4L2_PIX_FMT_YUYV;
    std::vector<std::pair<uint32_t, uint32_t>> sizes;  // discrete sizes, width and height
    uint32_t framesPerSecond = 30;
};

struct ScriptedControl {
    uint32_t id = V4L2_CID_BRIGHTNESS;
    int32_t minimum = 0;
    int32_t maximum = 255;
    int32_t step = 1;
    int32_t defaultValue = 128;
    int32_t value = 128;  // a button's counts its presses
    uint32_t type = V4L2_CTRL_TYPE_INTEGER;
    std::string name = {};                  // empty: the usual name of the id
    uint32_t flags = 0;                     // V4L2_CTRL_FLAG_...
    std::vector<std::string> menu = {};     // item names from index 0; an empty name is a hole in the menu
    std::vector<int64_t> integerMenu = {};  // an integer menu's numbers from index 0
    int setError = 0;                       // the error number every change of this control fails with
};

struct ScriptedCamera {
    std::string card = "Scripted Camera";
    uint32_t deviceCaps = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING;
    std::vector<ScriptedFormat> formats;
    std::vector<ScriptedControl> controls;
    std::vector<std::string> links;  // stable links that resolve to this node
};

// What the driver was last told to capture.
struct ScriptedCapture {
    uint32_t pixelFormat = 0;
    uint32_t width = 0;
    uint32_t height = 0;
};

class ScriptedV4l2 : public media::V4l2Kernel {
public:
    ScriptedV4l2();
    ~ScriptedV4l2() override;

    void AddCamera(const std::string& node, ScriptedCamera camera);
    // The node goes away: it is no longer listed, opens fail and every call on an open descriptor fails with
    // ENODEV.
    void Unplug(const std::string& node);

    // Queues a frame that the node delivers as soon as a buffer is queued and streaming is on.
    void PushFrame(const std::string& node, std::vector<uint8_t> bytes);
    // Blocks (in real time, up to 10 s) until the node has no pushed frame left to deliver.
    bool WaitUntilTaken(const std::string& node);

    ScriptedCapture Capture(const std::string& node);
    bool Streaming(const std::string& node);
    int32_t ControlValue(const std::string& node, uint32_t id);
    int OpenDescriptors(const std::string& node);
    int MappedBuffers();

    std::vector<std::string> VideoNodes() override;
    std::vector<std::pair<std::string, std::string>> StableLinks() override;
    int Open(const std::string& node) override;
    void Close(int fd) override;
    int Ioctl(int fd, unsigned long request, void* argument) override;
    void* Map(int fd, size_t length, int64_t offset) override;
    void Unmap(void* address, size_t length) override;
    int WaitForFrame(int fd, int timeoutMs) override;

private:
    struct Node {
        ScriptedCamera camera;
        bool present = true;
        ScriptedCapture capture;
        std::vector<std::vector<uint8_t>> buffers;
        std::deque<uint32_t> queued;
        std::deque<std::vector<uint8_t>> pending;
        bool streaming = false;
        uint32_t sequence = 0;
    };

    int IoctlLocked(Node& node, unsigned long request, void* argument);
    int SetFormat(Node& node, v4l2_format& format);
    int QueryControl(Node& node, v4l2_queryctrl& query);
    int QueryMenu(Node& node, v4l2_querymenu& item);
    int GetControl(Node& node, v4l2_control& value);
    int SetControl(Node& node, v4l2_control& value);
    int SetControls(Node& node, v4l2_ext_controls& request);
    int Dequeue(Node& node, v4l2_buffer& buffer);
    Node* NodeOf(int fd);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::map<std::string, Node> nodes_;
    std::map<int, std::string> descriptors_;
    int nextFd_ = 100;
    int mapped_ = 0;
};

}  // namespace kestrova::mediatest
