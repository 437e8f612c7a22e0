// Giving the current frame to the rest of the program: drawing it, saving it as an image file, copying it into
// a caller's buffer and writing the web snapshot. Each first makes a kept JPEG the current frame, so that
// what it reads is the newest frame.
#include "engine/frame_output.h"

#include <cerrno>
#include <cstring>
#include <mutex>

#include "engine/device.h"
#include "platform/base/files.h"
#include "platform/base/log.h"
#include "platform/base/text.h"
#include "platform/ui/gdi.h"

namespace kestrova {
namespace {

constexpr char kSnapshotComponent[] = "web snapshot";
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

std::string_view FrameSaveFailure(FrameSave result) {
    switch (result) {
        case FrameSave::kSaved:
            return {};
        case FrameSave::kNoFrame:
            return "the device has no picture yet";
        case FrameSave::kNoEncoder:
            return "no encoder for the format";
        case FrameSave::kBadFrame:
            return "the picture does not match its header";
        case FrameSave::kNotEncoded:
            return "the picture could not be encoded";
        case FrameSave::kNotWritten:
            return "the file could not be written";
    }
    return "unknown failure";
}

int GetEncoderClsid(std::string_view mimeType, int* classId) {
    int id = 0;
    if (!imaging::FindEncoder(mimeType, &id)) return 0;
    if (classId != nullptr) *classId = id;
    return 1;
}

int Device::DrawFrame(HDC dc, const RECT& rect) {
    std::lock_guard<CriticalSection> lock(frameLock_);
    DecodeKeptJpeg();
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
    // Painting has nobody to tell of a failure: the window keeps its last picture.
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchDIBits(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, 0, 0, width,
                  height, frame_.data(), &frameInfo_, DIB_RGB_COLORS, SRCCOPY);
    return 1;
}

int Device::SaveFrame(std::wstring_view path, int format, int quality) {
    return SaveFrameAs(path, format, quality) == FrameSave::kSaved ? 1 : 0;
}

FrameSave Device::SaveFrameAs(std::wstring_view path, int format, int quality) {
    const bool jpeg = format == 1;
    int encoder = 0;
    if (!GetEncoderClsid(jpeg ? kJpegMime : kPngMime, &encoder)) return FrameSave::kNoEncoder;
    std::lock_guard<CriticalSection> lock(frameLock_);
    DecodeKeptJpeg();
    if (frame_.empty()) return FrameSave::kNoFrame;
    std::unique_ptr<imaging::Bitmap> bitmap = FrameBitmap(frameInfo_.bmiHeader, frame_);
    if (!bitmap) return FrameSave::kBadFrame;
    // PNG takes no parameters.
    switch (imaging::Save(*bitmap, std::wstring(path), encoder, jpeg ? quality : 0)) {
        case imaging::Status::Ok:
            return FrameSave::kSaved;
        case imaging::Status::Win32Error:
            return FrameSave::kNotWritten;
        default:
            return FrameSave::kNotEncoded;
    }
}

int Device::CopyFrame(uint8_t* buffer, int size, imaging::BitmapInfo* header) {
    if (size != kFrameBytes320x240 && size != kFrameBytes640x480) return 0;
    if (buffer == nullptr) return 0;
    std::lock_guard<CriticalSection> lock(frameLock_);
    DecodeKeptJpeg();
    if (frame_.empty()) {
        std::memset(buffer, 0, size_t(size));
        return 0;
    }
    if (frame_.size() != size_t(size)) return 0;
    if (header != nullptr) *header = frameInfo_;
    std::memcpy(buffer, frame_.data(), size_t(size));
    return 1;
}

void Device::WriteWebSnapshot(int webIndex) {
    const std::wstring storage = GetStorageFolder();
    const std::wstring server = storage + L"Server/";
    const std::wstring path = server + std::to_wstring(webIndex) + L".jpg";
    int encoder = 0;
    if (!GetEncoderClsid(kJpegMime, &encoder)) return ReportWebSnapshot(FrameSave::kNoEncoder, path);
    // The web server reads these files while the next ones are made: encode in memory, then replace the file
    // in one step, so that a reader never meets half a picture.
    std::vector<uint8_t> jpeg;
    {
        std::lock_guard<CriticalSection> lock(frameLock_);
        DecodeKeptJpeg();
        if (frame_.empty()) return;  // called after a frame was stored; a device stopped meanwhile has none
        std::unique_ptr<imaging::Bitmap> bitmap = FrameBitmap(frameInfo_.bmiHeader, frame_);
        if (!bitmap) return ReportWebSnapshot(FrameSave::kBadFrame, path);
        if (imaging::Encode(*bitmap, encoder, kWebSnapshotQuality, jpeg) != imaging::Status::Ok)
            return ReportWebSnapshot(FrameSave::kNotEncoded, path);
    }
    // A folder that cannot be made shows as the write's failure, with the folder's reason.
    if (!CreateFolder(storage) || !CreateFolder(server) || !WriteFileAtomic(path, jpeg.data(), jpeg.size()))
        return ReportWebSnapshot(FrameSave::kNotWritten, path, SystemErrorText(errno));
    ReportWebSnapshot(FrameSave::kSaved, path);
}

void Device::ReportWebSnapshot(FrameSave result, std::wstring_view path, std::string_view reason) {
    if (result == FrameSave::kSaved) {
        webSnapshotFailing_ = false;
        return;
    }
    if (webSnapshotFailing_.exchange(true)) return;
    std::string message =
        NameForLog() + ": " + ToUtf8(path) + " not saved: " + std::string(FrameSaveFailure(result));
    if (!reason.empty()) message += " (" + std::string(reason) + ")";
    LogError(kSnapshotComponent, message);
}

}  // namespace kestrova
