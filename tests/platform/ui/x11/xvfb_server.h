#pragma once
// A private X server (Xvfb, 1024 x 768 at 24 bits, black root, no TCP) on a display number it picks itself,
// and the X tools that tests run against it.

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kestrova::uitest {

class XvfbServer {
public:
    XvfbServer() = default;
    ~XvfbServer();  // stops the server
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // False when the server did not start or name its display within a few seconds.
    bool Start();
    // ":N"
    const std::string& Display() const { return display_; }

    // Runs a program with DISPLAY set to this server and returns its exit status (-1 when it did not run).
    int Run(const std::vector<std::string>& args) const;
    // Runs it the same way and keeps what it writes to its standard output in `output` (its complaints
    // are let go).
    int Read(const std::vector<std::string>& args, std::string* output) const;
    // Where the server has the pointer; false when it cannot be asked.
    bool PointerAt(int* x, int* y) const;
    // Maps a window of another client at the given place and gives it the keyboard focus, as another program
    // would; it stays until the server stops. False when that failed.
    bool FocusAnotherProgram(int x, int y, int width, int height) const;

private:
    pid_t pid_ = -1;
    std::string display_;
};

// The screen as `import` (ImageMagick) captures it.
class Screenshot {
public:
    // False when the capture failed or its file could not be read.
    bool Take(const XvfbServer& server, const std::string& folder);
    // 0x00RRGGBB at a screen point.
    uint32_t At(int x, int y) const;

private:
    int width_ = 0, height_ = 0;
    std::vector<uint8_t> rgb_;
};

}  // namespace kestrova::uitest
