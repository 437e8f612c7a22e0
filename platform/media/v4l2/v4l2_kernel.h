#pragma once
// Every call the V4L2 code makes into the kernel goes through this seam: listing the device nodes, opening
// them, their ioctls, mapping their buffers and waiting for a filled one. The system's implementation makes
// the real calls; tests install a scripted device in its place.

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kestrova::media {

class V4l2Kernel {
public:
    virtual ~V4l2Kernel() = default;

    // The nodes /dev/video<N>, in the order of N.
    virtual std::vector<std::string> VideoNodes() = 0;
    // The stable names of the nodes: each link under /dev/v4l/by-id, then under /dev/v4l/by-path (each group
    // sorted), with the node it resolves to.
    virtual std::vector<std::pair<std::string, std::string>> StableLinks() = 0;

    // A file descriptor, or -1 with errno set.
    virtual int Open(const std::string& node) = 0;
    virtual void Close(int fd) = 0;
    // 0, or -1 with errno set (ENODEV once the device went away).
    virtual int Ioctl(int fd, unsigned long request, void* argument) = 0;
    // The buffer at `offset` of the node mapped for reading and writing, or null.
    virtual void* Map(int fd, size_t length, int64_t offset) = 0;
    virtual void Unmap(void* address, size_t length) = 0;
    // Waits up to `timeoutMs` for a filled buffer: 1 one is ready, 0 none yet, -1 the device failed or went
    // away.
    virtual int WaitForFrame(int fd, int timeoutMs) = 0;
};

// The installed kernel seam (the system's unless a test installed another).
V4l2Kernel& GetV4l2Kernel();
// Installs `kernel` for the whole process; nullptr puts the system's back.
void SetV4l2Kernel(V4l2Kernel* kernel);

}  // namespace kestrova::media
