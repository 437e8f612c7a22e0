#pragma once
// A fake IP camera: an HTTP/1.0 server on a loopback address that answers the requests the camera kind sends
// and records each one. The stream paths of the four camera families serve a multipart JPEG stream (or 401
// for the families told to refuse); "/" answers the redirect probe; "get_camera_params.cgi",
// "camera_control.cgi" and "decoder_control.cgi" answer as configured. Stream bytes can be delivered in pieces
// of any size down to one byte, with pauses, followed by silence or by a close.
//
// Configure it before the client connects; every setter and Requests() may be called from any thread.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "tests/peers/fakecam/loopback_server.h"

namespace kestrova::testing {

struct FakeCameraRequest {
    std::string text;  // the whole request head as received
    std::string path;  // the request line's path, with its leading "/"
    std::chrono::steady_clock::time_point received;
};

class FakeCamera {
public:
    enum class AfterFrames { kStaySilent, kClose };

    // Listens on `address` (a dotted loopback address) and a port the system picks.
    explicit FakeCamera(const std::string& address = "127.0.0.1");
    FakeCamera(const FakeCamera&) = delete;
    FakeCamera& operator=(const FakeCamera&) = delete;

    int Port() const { return server_.Port(); }

    // Families (0..3, in the order of the camera model) whose stream path answers "401 Unauthorized".
    void RefuseFamilies(std::vector<int> families);
    // Answers the probe "GET /" with "302 Moved Temporarily" and this Location.
    void RedirectTo(const std::string& location);
    // The body after "HTTP/1.0 200 OK" for "get_camera_params.cgi".
    void SetParamsBody(const std::string& body);
    // The whole reply to "camera_control.cgi" setting brightness or contrast.
    void SetControlReply(const std::string& reply);
    // The whole reply to "decoder_control.cgi"; an empty text sends nothing and keeps the connection open.
    void SetPtzReply(const std::string& reply);

    // The JPEG pictures of the stream; sent `repeat` times over (0: until the client goes away).
    void SetFrames(std::vector<std::string> jpegs, int repeat = 1);
    // Sends these bytes after the stream's HTTP head instead of the parts made from the frames, e.g. to serve
    // a malformed stream.
    void SetRawStream(const std::string& bytes);
    // Stream bytes go out in pieces of `pieceSize` bytes with `pause` after each piece.
    void SetDelivery(size_t pieceSize, std::chrono::milliseconds pause = std::chrono::milliseconds(0));
    void SetAfterFrames(AfterFrames after);
    // The bytes of one stream connection, from the HTTP head to the last part.
    std::string StreamBytes() const;

    std::vector<FakeCameraRequest> Requests() const;
    // Waits (in real time) until at least `count` requests arrived.
    bool WaitForRequests(size_t count, std::chrono::milliseconds limit = std::chrono::seconds(5));
    // The number of stream connections still open.
    int OpenStreams() const;

private:
    void Serve(int connection);
    void ServeStream(int connection);
    // Sends `bytes`, in pieces when `paced`; false when the client went away or the camera stops.
    bool SendAll(int connection, const std::string& bytes, bool paced);

    mutable std::mutex mutex_;
    std::condition_variable changed_;  // a request came
    std::vector<FakeCameraRequest> requests_;
    int openStreams_ = 0;

    std::vector<int> refusedFamilies_;
    std::string redirectLocation_;
    std::string paramsBody_ = "var vbright=128;\r\nvar vcontrast=64;\r\n";
    std::string controlReply_ = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nresult=\"ok\"\r\n";
    std::string ptzReply_ = "HTTP/1.0 200 OK\r\n\r\nok.\r\n";
    std::vector<std::string> frames_;
    std::string rawStream_;
    bool raw_ = false;
    int repeat_ = 1;
    size_t pieceSize_ = 0;  // 0: each part in one send
    std::chrono::milliseconds pause_{0};
    AfterFrames after_ = AfterFrames::kStaySilent;

    // Last: made after, and stopped before, everything its serving reads.
    LoopbackServer server_;
};

}  // namespace kestrova::testing
