// Giving the current frame to the rest of the program: saving it as an image file, copying it into a caller's
// buffer, the web snapshot and the privacy black-out that the kinds apply to every stored frame.
#include "engine/frame_output.h"

#include <cstring>
#include <mutex>

#include "engine/device.h"
#include "platform/base/clock.h"
#include "platform/base/files.h"
#include "platform/ui/gdi.h"

namespace kestrova {
namespace {

constexpr std::string_view kJpegMime = "image/jpeg";
constexpr std::string_view kPngMime = "image/png";

// With the frame lock held: a bitmap of the current frame, or null when its header does not describe the
// pixels that are there.
std::unique_ptr<imaging::Bitmap> FrameBitmap(const imaging::BitmapInfoHeader& header,
                                             const std::vector<uint8_t>& frame) {
    if (header.biWidth <= 0 || header.biHeight == 0 || header.biBitCount != 24) return nullptr;
    const int64_t rows = header.biHeight < 0 ? -int64_t(header.biHeight) : int64_t(header.biHeight);
    const int64_t stride = (int64_t(header.biWidth) * 3 + 3) / 4 * 4;
    if (rows * stride > int64_t(frame.size())) return nullptr;
    return imaging::Bitmap::FromFrame(header, frame.data());
}

}  // namespace

int GetEncoderClsid(std::string_view mimeType, int* classId) {
    int id = 0;
    if (!imaging::FindEncoder(mimeType, &id)) return 0;
    if (classId != nullptr) *classId = id;
    return 1;
}

int Device::DrawFrame(HDC dc, const RECT& rect) {
    std::lock_guard<CriticalSection> lock(frameLock_);
    if (frame_.empty()) return 1;
    // The picture size follows from the byte size alone; any other size draws nothing.
    int width = 0, height = 0;
    switch (frame_.size()) {
        case size_t(kFrameBytes640x480):
            width = 640, height = 480;
            break;
        case size_t(kFrameBytes320x240):
            width = 320, height = 240;
            break;
        case size_t(kFrameBytes480x360):
            width = 480, height = 360;
            break;
    }
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchDIBits(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, 0, 0, width,
                  height, frame_.data(), &frameInfo_, DIB_RGB_COLORS, SRCCOPY);
    return 1;
}

int Device::SaveFrame(std::wstring_view path, int format, int quality) {
    const bool jpeg = format == 1;
    int encoder = 0;
    if (!GetEncoderClsid(jpeg ? kJpegMime : kPngMime, &encoder)) return 0;
    std::lock_guard<CriticalSection> lock(frameLock_);
    if (frame_.empty()) return 1;
    std::unique_ptr<imaging::Bitmap> bitmap = FrameBitmap(frameInfo_.bmiHeader, frame_);
    if (!bitmap) return 0;
    // PNG takes no parameters.
    const imaging::Status status = imaging::Save(*bitmap, std::wstring(path), encoder, jpeg ? quality : 0);
    return status == imaging::Status::Ok ? 1 : 0;
}

int Device::CopyFrame(uint8_t* buffer, int size, imaging::BitmapInfo* header) {
    if (size != kFrameBytes320x240 && size != kFrameBytes640x480) return 0;
    if (buffer == nullptr) return 0;
    std::lock_guard<CriticalSection> lock(frameLock_);
    if (frame_.empty()) {
        std::memset(buffer, 0, size_t(size));
        return 0;
    }
    if (frame_.size() != size_t(size)) return 0;
    if (header != nullptr) *header = frameInfo_;
    std::memcpy(buffer, frame_.data(), size_t(size));
    return 1;
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

void Device::WriteWebSnapshot(int webIndex) {
    int encoder = 0;
    if (!GetEncoderClsid(kJpegMime, &encoder)) return;
    // The web server reads these files while the next ones are made: encode in memory, then replace the file
    // in one step, so that a reader never meets half a picture.
    std::vector<uint8_t> jpeg;
    {
        std::lock_guard<CriticalSection> lock(frameLock_);
        if (frame_.empty()) return;
        std::unique_ptr<imaging::Bitmap> bitmap = FrameBitmap(frameInfo_.bmiHeader, frame_);
        if (!bitmap || imaging::Encode(*bitmap, encoder, kWebSnapshotQuality, jpeg) != imaging::Status::Ok)
            return;
    }
    const std::wstring storage = GetStorageFolder();
    const std::wstring server = storage + L"Server/";
    CreateFolder(storage);
    CreateFolder(server);
    WriteFileAtomic(server + std::to_wstring(webIndex) + L".jpg", jpeg.data(), jpeg.size());
}

}  // namespace kestrova
