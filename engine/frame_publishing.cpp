// Storing a new frame: the one path by which the kinds' capture threads make the current frame, and the decoding
// of a kept JPEG when the frame is read. An IP camera receives 25 JPEGs a second while its readers (detection,
// the web snapshot, alarm photos, the recorder) take a few; only a shown device needs every one, so a JPEG is
// decoded when a reader first asks for the frame, once however many read it, or at once while the device is
// shown. Detection needs only its sample points, which it reads from the JPEG's rows around them: a camera
// that nobody watches then keeps no frame, and writes no whole picture to memory.
#include <cstring>
#include <mutex>
#include <new>
#include <utility>

#include "engine/device.h"
#include "platform/base/clock.h"

namespace kestrova {
namespace {

// How long a window's NoteShown keeps the device decoding every frame.
constexpr uint64_t kShownLeaseMs = 1000;
// How long the frame notification of a device that nobody shows may wait for the notify window's thread to
// wake for something else. It changes nothing on the screen, and 25 such cameras would otherwise wake that
// thread 625 times a second; a display that starts to show the device learns of its frames within this time.
// Longer than a detection pass, whose level notification wakes the thread while the device is monitored.
constexpr uint32_t kUnshownFrameNoticeMs = 250;

// Gives the frame its header and room for width x height pixels (a new header only when the size changes, as
// readers copy it with the frame). False, with no frame left, when there is no memory for it.
bool SizeFrame(std::vector<uint8_t>& frame, imaging::BitmapInfo& info, const FrameShape& shape) {
    const size_t bytes = size_t(shape.width) * size_t(shape.height) * 3;
    if (frame.size() == bytes) return true;
    info = imaging::BitmapInfo{};  // 40 bytes, 1 plane, 24 bits, BI_RGB, the rest 0
    info.bmiHeader.biWidth = shape.width;
    info.bmiHeader.biHeight = shape.height;  // positive: the rows are bottom-up
    try {
        frame.assign(bytes, 0);
    } catch (const std::bad_alloc&) {
        frame.clear();
        return false;
    }
    return true;
}

void StorePixels(const CapturedFrame& captured, uint8_t* frame) {
    const FrameShape& shape = captured.shape;
    if (!shape.flip) {
        std::memcpy(frame, captured.bytes, captured.size);
        return;
    }
    const size_t stride = size_t(shape.width) * 3;
    for (int row = 0; row < shape.height; ++row) {
        std::memcpy(frame + size_t(row) * stride, captured.bytes + size_t(shape.height - 1 - row) * stride, stride);
    }
}

// Decodes the JPEG into the frame, cut to the frame's size at its top-left corner, never scaled. False when it
// does not decode, which may leave the frame partly written.
bool DecodeJpegFrame(const KeptJpeg& jpeg, std::vector<uint8_t>& frame, imaging::BitmapInfo& info) {
    const FrameShape& shape = jpeg.shape;
    if (!SizeFrame(frame, info, shape)) return false;
    // Frames are bottom-up: unless the picture is to show upside down, its top row goes last.
    const int stride = shape.width * 3;
    uint8_t* top = shape.flip ? frame.data() : frame.data() + size_t(shape.height - 1) * size_t(stride);
    const int rowStep = shape.flip ? stride : -stride;
    const uint8_t* bytes = jpeg.bytes.data();
    const size_t size = jpeg.bytes.size();
    const imaging::Status exact = imaging::DecodeInto(bytes, size, shape.width, shape.height, top, rowStep);
    if (exact != imaging::Status::InvalidParameter) return exact == imaging::Status::Ok;
    // A larger picture: decoded whole, then its corner copied.
    try {
        const std::unique_ptr<imaging::Bitmap> picture = imaging::Bitmap::Decode(bytes, size);
        return picture &&
               picture->LockBitsInto({0, 0, shape.width, shape.height}, top, rowStep) == imaging::Status::Ok;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace

void Device::PublishFrame(const CapturedFrame& captured, HWND notifyWindow) {
    const bool shown = IsShown();
    int webIndex = 0;
    {
        std::lock_guard<CriticalSection> lock(frameLock_);
        try {
            if (captured.form == CapturedFrame::Form::kJpeg) {
                // One that nobody decoded stays as the earlier one, in case this one turns out damaged.
                if (!newestJpeg_.bytes.empty()) std::swap(earlierJpeg_, newestJpeg_);
                if (captured.handOver != nullptr) {
                    newestJpeg_.bytes.swap(*captured.handOver);
                } else {
                    newestJpeg_.bytes.assign(captured.bytes, captured.bytes + captured.size);
                }
                newestJpeg_.shape = captured.shape;
                if (shown) DecodeKeptJpeg();
            } else {
                // Newer than any kept JPEG, and not made from one.
                newestJpeg_.bytes.clear();
                earlierJpeg_.bytes.clear();
                if (!SizeFrame(frame_, frameInfo_, captured.shape)) return;  // no frame to show; nothing is posted
                StorePixels(captured, frame_.data());
                BlackOutPrivacyCells();
            }
        } catch (const std::bad_alloc&) {
            newestJpeg_.bytes.clear();
            return;  // the JPEG could not be kept: the frame stays as it was, and nothing is posted
        }
        webIndex = TakeWebSnapshotTurn();
    }
    if (webIndex > 0) WriteWebSnapshot(webIndex);
    Notify(notifyWindow, kNotifyFrame, 0, shown ? 0 : kUnshownFrameNoticeMs);
}

void Device::DropFrame() {
    std::lock_guard<CriticalSection> lock(frameLock_);
    frame_.clear();
    frame_.shrink_to_fit();
    frameInfo_ = imaging::BitmapInfo{};
    newestJpeg_ = KeptJpeg{};
    earlierJpeg_ = KeptJpeg{};
}

void Device::NoteShown() {
    shownUntilMs_.store(GetClock().Milliseconds() + kShownLeaseMs, std::memory_order_relaxed);
}

bool Device::IsShown() const {
    return GetClock().Milliseconds() < shownUntilMs_.load(std::memory_order_relaxed);
}

void Device::DecodeKeptJpeg() {
    if (newestJpeg_.bytes.empty()) return;
    ++decodedJpegs_;
    if (DecodeJpegFrame(newestJpeg_, frame_, frameInfo_)) {
        std::swap(earlierJpeg_, newestJpeg_);
    } else if (earlierJpeg_.bytes.empty() || !DecodeJpegFrame(earlierJpeg_, frame_, frameInfo_)) {
        frame_.clear();
        frameInfo_ = imaging::BitmapInfo{};
        earlierJpeg_.bytes.clear();
    }
    newestJpeg_.bytes.clear();
    BlackOutPrivacyCells();
}

bool Device::SampleCurrentFrame(MotionSample& sample, int32_t* frameBytes) {
    const FrameShape& shape = newestJpeg_.shape;
    if (!newestJpeg_.bytes.empty() &&
        TakeMotionSampleFromJpeg(newestJpeg_.bytes.data(), newestJpeg_.bytes.size(), shape, sample)) {
        BlackOutPrivateSamples(privacyMask_, sample);
        *frameBytes = shape.width * shape.height * 3;
        return true;
    }
    DecodeKeptJpeg();
    if (frame_.empty() || !TakeMotionSample(frame_.data(), frame_.size(), sample)) return false;
    *frameBytes = int32_t(frame_.size());
    return true;
}

void Device::BlackOutPrivacyCells() {
    const int width = frameInfo_.bmiHeader.biWidth;
    const int height = frameInfo_.bmiHeader.biHeight;
    if (width <= 0 || height <= 0 || frame_.size() != size_t(width) * size_t(height) * 3) return;
    const size_t stride = size_t(width) * 3;
    const int cellRows = height / kMaskSide;
    const size_t cellBytes = stride / kMaskSide;
    for (int cy = 0; cy < kMaskSide; ++cy) {
        for (int cx = 0; cx < kMaskSide; ++cx) {
            // Stored rows run bottom-up, mask rows top-down.
            if (privacyMask_[MaskCell(kMaskSide - 1 - cy, cx)] == 0) continue;
            for (int y = cy * cellRows; y < (cy + 1) * cellRows; ++y) {
                std::memset(frame_.data() + size_t(y) * stride + size_t(cx) * cellBytes, 0, cellBytes);
            }
        }
    }
}

int Device::TakeWebSnapshotTurn() {
    const int64_t now = GetClock().CalendarSeconds();
    const int webIndex = GetWebIndex();
    if (webIndex <= 0 || now <= lastWebSnapshotTime_) return 0;
    lastWebSnapshotTime_ = now;
    return webIndex;
}

}  // namespace kestrova
