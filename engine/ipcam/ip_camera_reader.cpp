// The reader thread of the IP camera: it finds the camera's stream, then hands each JPEG part that can make a
// frame to the device, which decodes it when the frame is read, until it is stopped or the stream ends.

#include <sys/socket.h>
#include <sys/time.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/ipcam/camera_model.h"
#include "engine/ipcam/host_redirect.h"
#include "engine/ipcam/ip_camera_device.h"
#include "engine/ipcam/picture_size_memo.h"
#include "platform/imaging/bitmap.h"

namespace kestrova {
namespace {

// A reply head may take up to kReplyCapacity bytes; the stream is read in blocks of kReceiveBlock, which the
// parser puts together, so the block's size changes nothing but the number of receives.
constexpr int kReplyCapacity = 500000;
constexpr int kReceiveBlock = 64 * 1024;
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

// The frame a received picture makes, read from its header: false when it makes none (no readable size, smaller
// than the frame size, or too large to decode before it is cut).
bool FrameShapeFor(PictureSizeMemo& sizes, const uint8_t* jpeg, size_t size, int frameSize, int flip,
                   FrameShape* shape) {
    int pictureWidth = 0;
    int pictureHeight = 0;
    if (!sizes.Read(jpeg, size, &pictureWidth, &pictureHeight) ||
        !FrameSizeFor(frameSize, pictureWidth, pictureHeight, &shape->width, &shape->height)) {
        return false;
    }
    shape->flip = flip != 0;
    // A larger picture is decoded whole before it is cut, so it must be one the imaging layer can hold.
    return pictureWidth >= shape->width && pictureHeight >= shape->height &&
           pictureWidth <= imaging::Bitmap::kMaxSide && pictureHeight <= imaging::Bitmap::kMaxSide &&
           int64_t(pictureWidth) * pictureHeight <= imaging::Bitmap::kMaxPixels;
}

// Makes a blocking receive on `socket` give up after `seconds`, so that one receive both waits and reads. False
// when the socket cannot (or `seconds` asks for no time-out or an instant one): then each receive waits first.
bool TimeOutReceives(const TcpSocket& socket, int32_t seconds) {
    if (seconds <= 0) return false;
    const timeval limit{seconds, 0};
    return setsockopt(socket.Handle(), SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit) == 0;
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
    std::vector<char> buffer = std::vector<char>(kReceiveBlock);
    std::vector<uint8_t> jpeg;  // a received part on its way to the device
    PictureSizeMemo pictureSizes;

    // Receives the reply to a request up to the end of its head (a camera may send it in pieces, and a stop
    // request ends the wait); the receive result when nothing came at all.
    int ReceiveReplyHead(TcpSocket& socket, std::string* reply, const StopFlag& stop) {
        reply->clear();
        for (;;) {
            const int wanted = std::min(kReceiveBlock, kReplyCapacity - int(reply->size()));
            const int received = socket.Receive(buffer.data(), wanted, connection.receiveTimeout);
            if (received <= 0) return reply->empty() ? received : int(reply->size());
            reply->append(buffer.data(), static_cast<size_t>(received));
            if (reply->find(kHeadEnd) != std::string::npos || reply->size() >= size_t(kReplyCapacity) ||
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
    DropFrame();
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
    if (sent) socket->Receive(run.buffer.data(), kReceiveBlock, run.connection.receiveTimeout);
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
    MjpegStreamParser parser([&](const uint8_t* jpeg, size_t size) { TakeJpeg(run, parser, jpeg, size); });
    auto result = parser.Feed(reinterpret_cast<const uint8_t*>(run.streamStart.data()), run.streamStart.size());
    // One system call a block: the socket's own time-out ends a receive that waits too long.
    const int32_t wait =
        TimeOutReceives(*run.stream, run.connection.receiveTimeout) ? -1 : run.connection.receiveTimeout;
    while (result == MjpegStreamParser::Result::kContinue && !stop.Requested()) {
        const int received = run.stream->Receive(run.buffer.data(), kReceiveBlock, wait);
        if (received > 0) {
            result = parser.Feed(reinterpret_cast<const uint8_t*>(run.buffer.data()), size_t(received));
        } else if (run.stream->PeerClosed()) {
            // A closed stream gives nothing ever again; a silent one may still go on.
            return;
        }
    }
}

void IpCameraDevice::TakeJpeg(ReaderRun& run, MjpegStreamParser& parser, const uint8_t* jpeg, size_t size) {
    CapturedFrame frame;
    if (!FrameShapeFor(run.pictureSizes, jpeg, size, run.frameSize, run.flipVertical, &frame.shape)) return;
    // The part's buffer goes to the device as it is, and the device's spare buffer comes back for later parts.
    parser.SwapBody(run.jpeg);
    frame.form = CapturedFrame::Form::kJpeg;
    frame.bytes = run.jpeg.data();
    frame.size = run.jpeg.size();
    frame.handOver = &run.jpeg;
    PublishFrame(frame, run.notifyWindow);
}

}  // namespace kestrova
