#include "platform/media/v4l2/v4l2_kernel.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace kestrova::media {
namespace {

namespace fs = std::filesystem;

// The number after "video" in a node's name, or -1 when the name is not /dev/video<N>.
long VideoNodeNumber(const std::string& name) {
    constexpr std::string_view prefix = "video";
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return -1;
    const std::string digits = name.substr(prefix.size());
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) return -1;
    return std::strtol(digits.c_str(), nullptr, 10);
}

class SystemV4l2Kernel : public V4l2Kernel {
public:
    std::vector<std::string> VideoNodes() override {
        std::vector<std::pair<long, std::string>> found;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator("/dev", error)) {
            const long number = VideoNodeNumber(entry.path().filename().string());
            if (number >= 0) found.emplace_back(number, entry.path().string());
        }
        std::sort(found.begin(), found.end());
        std::vector<std::string> nodes;
        for (auto& [number, path] : found) nodes.push_back(std::move(path));
        return nodes;
    }

    std::vector<std::pair<std::string, std::string>> StableLinks() override {
        std::vector<std::pair<std::string, std::string>> links;
        for (const char* folder : {"/dev/v4l/by-id", "/dev/v4l/by-path"}) {
            std::vector<std::pair<std::string, std::string>> group;
            std::error_code error;
            for (const auto& entry : fs::directory_iterator(folder, error)) {
                const fs::path target = fs::canonical(entry.path(), error);
                if (!error) group.emplace_back(entry.path().string(), target.string());
            }
            std::sort(group.begin(), group.end());
            links.insert(links.end(), group.begin(), group.end());
        }
        return links;
    }

    int Open(const std::string& node) override {
        return ::open(node.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    }

    void Close(int fd) override { ::close(fd); }

    int Ioctl(int fd, unsigned long request, void* argument) override {
        int result;
        do {
            result = ::ioctl(fd, request, argument);
        } while (result == -1 && errno == EINTR);
        return result;
    }

    void* Map(int fd, size_t length, int64_t offset) override {
        void* address = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, fd, off_t(offset));
        return address == MAP_FAILED ? nullptr : address;
    }

    void Unmap(void* address, size_t length) override { ::munmap(address, length); }

    int WaitForFrame(int fd, int timeoutMs) override {
        pollfd entry{fd, POLLIN, 0};
        const int ready = ::poll(&entry, 1, timeoutMs);
        if (ready < 0) return errno == EINTR ? 0 : -1;
        if (ready == 0) return 0;
        return (entry.revents & (POLLERR | POLLHUP | POLLNVAL)) ? -1 : 1;
    }
};

SystemV4l2Kernel g_system;
std::atomic<V4l2Kernel*> g_installed{nullptr};

}  // namespace

V4l2Kernel& GetV4l2Kernel() {
    V4l2Kernel* installed = g_installed.load();
    return installed ? *installed : g_system;
}

void SetV4l2Kernel(V4l2Kernel* kernel) {
    g_installed.store(kernel);
}

}  // namespace kestrova::media
