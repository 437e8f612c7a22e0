// The reader thread of the IP camera: it finds the camera's stream, then turns each JPEG part into the
// device's current frame until it is stopped or the stream ends.

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/ipcam/camera_model.h"
#include "engine/ipcam/host_redirect.h"
#include "engine/ipcam/ip_camera_device.h"
#include "platform/imaging/bitmap.h"

namespace kestrova {
namespace {

constexpr int kReceiveCapacity = 500000;
constexpr const char* kHeadEnd = "\r\n\r\n";

// A host text made of digits and dots only is an address: no redirect probe is needed.
bool IsNumericHost(const std::string& host) {
    return host.find_first_not_of("0123456789.") == std::string::npos;
}

// The size of frame the device keeps for a picture of `width` x `height`: the chosen frame size, or for
// another setting the picture's own size when it is one of the two. False when there is none.
bool FrameSizeFor(int frameSize, int width, int height, int* frameWidth, int* frameHeight) {
    if (frameSize == 1 || frameSize == 2) {
        *frameWidth = frameSize == 1 ? 320 : 640;
        *frameHeight = frameSize == 1 ? 240 : 480;
        return true;
    }
    if ((width == 320 && height == 240) || (width == 640 && height == 480)) {
        *frameWidth = width;
        *frameHeight = height;
        return true;
    }
    return false;
}

}  // namespace

struct IpCameraDevice::ReaderRun {
    CameraConnection connection;
    int frameSize = 2;
    int flipVertical = 0;
    HWND notifyWindow = nullptr;
    uint32_t shutdownMs = 0;  // every exchange waits as many milliseconds as the connect time-out has seconds
    std::unique_ptr<TcpSocket> stream;
    std::string streamStart;  // bytes that came after the stream reply's head
    std::vector<char> buffer = std::vector<char>(kReceiveCapacity);
    std::vector<uint8_t> spare;  // the next frame while it is decoded

    // Receives the reply to a request up to the end of its head (a camera may send it in pieces, and a stop
    // request ends the wait); the receive result when nothing came at all.
    int ReceiveReplyHead(TcpSocket& socket, std::string* reply, const StopFlag& stop) {
        reply->clear();
        for (;;) {
            const int received =
                socket.Receive(buffer.data(), kReceiveCapacity - int(reply->size()), connection.receiveTimeout);
            if (received <= 0) return reply->empty() ? received : int(reply->size());
            reply->append(buffer.data(), static_cast<size_t>(received));
            if (reply->find(kHeadEnd) != std::string::npos || reply->size() >= size_t(kReceiveCapacity) ||
                stop.Requested()) {
                return int(reply->size());
            }
        }
    }
};

void IpCameraDevice::RunReader(StopFlag& stop) {
    ReaderRun run;
    run.connection = CopyConnection();
    run.frameSize = GetFrameSize();
    run.flipVertical = GetFlipVertical();
    run.notifyWindow = GetNotifyWindow();
    run.shutdownMs = static_cast<uint32_t>(std::max(run.connection.connectTimeout, 0));
    SetState(kStatePowered, 1);

    const bool probe = !IsNumericHost(run.connection.host);
    StreamReply reply = StreamReply::kRefused;
    for (int family = 0; family < kCameraFamilyCount && reply == StreamReply::kRefused && !stop.Requested();
         ++family) {
        if ((probe && !ProbeRedirect(run, stop)) || !RequestFrameSize(run)) break;
        reply = RequestStream(run, family, stop);
    }
    if (reply == StreamReply::kStreaming) ReadFrames(run, stop);

    EndCameraExchange(run.stream, run.shutdownMs);
    ClearFrame();
    {
        std::lock_guard<CriticalSection> lock(readerLock_);
        readerRunning_ = 0;
    }
    SetState(kStatePowered, 0);
    Notify(run.notifyWindow, kNotifyFrame, 0);
}

bool IpCameraDevice::ProbeRedirect(ReaderRun& run, const StopFlag& stop) {
    const HostAndPath split = SplitHostText(run.connection.host);
    std::unique_ptr<TcpSocket> socket =
        ConnectCamera(split.host, run.connection.port, run.connection.connectTimeout);
    if (!socket) return false;
    // The probe asks without authorization; its path keeps its "/", so "/a" asks for "//a".
    const std::string request = BuildCameraRequest(split.path, split.host, kNoCredentials);
    if (SendCameraRequest(*socket, request, run.connection.receiveTimeout) == 0) {
        EndCameraExchange(socket, run.shutdownMs);
        return false;
    }
    std::string reply;
    run.ReceiveReplyHead(*socket, &reply, stop);
    EndCameraExchange(socket, run.shutdownMs);
    std::string host;
    int port = 0;
    if (ParseRedirect(reply, &host, &port)) {
        // The camera lives elsewhere for the rest of this run; it stays plain HTTP whatever the scheme.
        run.connection.host = host;
        run.connection.port = port;
    }
    return true;
}

bool IpCameraDevice::RequestFrameSize(ReaderRun& run) {
    std::unique_ptr<TcpSocket> socket =
        ConnectCamera(run.connection.host, run.connection.port, run.connection.connectTimeout);
    if (!socket) return false;
    char path[kCameraPathCapacity];
    BuildFrameSizePath(run.frameSize, path);
    const std::string request = BuildCameraRequest(path, run.connection.host, run.connection.credentials);
    const bool sent = SendCameraRequest(*socket, request, run.connection.receiveTimeout) != 0;
    // The reply is not examined.
    if (sent) socket->Receive(run.buffer.data(), kReceiveCapacity, run.connection.receiveTimeout);
    EndCameraExchange(socket, run.shutdownMs);
    return sent;
}

IpCameraDevice::StreamReply IpCameraDevice::RequestStream(ReaderRun& run, int family, const StopFlag& stop) {
    run.stream = ConnectCamera(run.connection.host, run.connection.port, run.connection.connectTimeout);
    if (!run.stream) return StreamReply::kFailed;
    char path[kCameraPathCapacity];
    BuildStreamPath(family, run.frameSize, path);
    const std::string request = BuildCameraRequest(path, run.connection.host, run.connection.credentials);
    std::string reply;
    if (SendCameraRequest(*run.stream, request, run.connection.receiveTimeout) == 0 ||
        run.ReceiveReplyHead(*run.stream, &reply, stop) <= 0) {
        return StreamReply::kFailed;
    }
    const size_t headEnd = reply.find(kHeadEnd);
    const std::string head = reply.substr(0, headEnd);
    if (head.find("200 OK") == std::string::npos) {
        EndCameraExchange(run.stream, run.shutdownMs);
        return StreamReply::kRefused;
    }
    // The first parts may have come with the head.
    if (headEnd != std::string::npos) run.streamStart = reply.substr(headEnd + std::strlen(kHeadEnd));
    return StreamReply::kStreaming;
}

void IpCameraDevice::ReadFrames(ReaderRun& run, StopFlag& stop) {
    MjpegStreamParser parser([&](const uint8_t* jpeg, size_t size) { TakeJpeg(run, jpeg, size); });
    auto result = parser.Feed(reinterpret_cast<const uint8_t*>(run.streamStart.data()), run.streamStart.size());
    while (result == MjpegStreamParser::Result::kContinue && !stop.Requested()) {
        const int received = run.stream->Receive(run.buffer.data(), kReceiveCapacity, run.connection.receiveTimeout);
        if (received > 0) {
            result = parser.Feed(reinterpret_cast<const uint8_t*>(run.buffer.data()), size_t(received));
        } else if (run.stream->PeerClosed()) {
            // A closed stream gives nothing ever again; a silent one may still go on.
            return;
        }
    }
}

void IpCameraDevice::TakeJpeg(ReaderRun& run, const uint8_t* jpeg, size_t size) {
    int pictureWidth = 0;
    int pictureHeight = 0;
    int width = 0;
    int height = 0;
    // The picture is cut to the frame size at its top-left corner, never scaled: a smaller one is no frame.
    if (!imaging::ReadImageSize(jpeg, size, &pictureWidth, &pictureHeight) ||
        !FrameSizeFor(run.frameSize, pictureWidth, pictureHeight, &width, &height) || pictureWidth < width ||
        pictureHeight < height) {
        return;
    }
    // Decoded outside the frame lock into the spare buffer, so a damaged picture leaves the current frame
    // whole. Frames are bottom-up: unless the picture is to show upside down, its top row goes last.
    const int stride = width * 3;
    run.spare.resize(size_t(stride) * height);
    uint8_t* top = run.flipVertical != 0 ? run.spare.data() : run.spare.data() + size_t(height - 1) * stride;
    const int rowStep = run.flipVertical != 0 ? stride : -stride;
    if (pictureWidth == width && pictureHeight == height) {
        if (imaging::DecodeInto(jpeg, size, width, height, top, rowStep) != imaging::Status::Ok) return;
    } else {
        const std::unique_ptr<imaging::Bitmap> picture = imaging::Bitmap::Decode(jpeg, size);
        if (!picture || picture->LockBitsInto({0, 0, width, height}, top, rowStep) != imaging::Status::Ok) return;
    }
    int webIndex = 0;
    {
        std::lock_guard<CriticalSection> lock(frameLock_);
        if (frame_.size() != run.spare.size()) {
            imaging::BitmapInfoHeader& header = frameInfo_.bmiHeader;
            header = imaging::BitmapInfoHeader{};
            header.biWidth = width;
            header.biHeight = height;  // positive: the rows are bottom-up
        }
        frame_.swap(run.spare);
        BlackOutPrivacyCells();
        webIndex = TakeWebSnapshotTurn();
    }
    if (webIndex > 0) WriteWebSnapshot(webIndex);
    Notify(run.notifyWindow, kNotifyFrame, 0);
}

void IpCameraDevice::ClearFrame() {
    std::lock_guard<CriticalSection> lock(frameLock_);
    frame_.clear();
    frame_.shrink_to_fit();
    frameInfo_ = imaging::BitmapInfo{};
}

}  // namespace kestrova
