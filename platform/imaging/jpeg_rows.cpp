// Chosen JPEG rows through libjpeg's own interface, which hands out one row at a time; TurboJPEG's writes the
// whole picture. The decoder is set up as TurboJPEG sets it up for DecodeInto (accurate integer transform,
// smooth chroma upsampling, blue-green-red output), so the rows come out the same, and it treats damage alike:
// warnings (a few stray bytes, a picture cut short) still give the rows, errors end the reading.
#include "platform/imaging/jpeg_rows.h"

#include <climits>
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "platform/imaging/bitmap.h"

namespace kestrova::imaging {
namespace {

struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void LeaveOnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->jump, 1);
}

void StayQuiet(j_common_ptr) {}

bool Readable(const jpeg_decompress_struct& info, int width, int height) {
    const int64_t pictureWidth = info.image_width, pictureHeight = info.image_height;
    return pictureWidth >= width && pictureHeight >= height && pictureWidth <= Bitmap::kMaxSide &&
           pictureHeight <= Bitmap::kMaxSide && pictureWidth * pictureHeight <= Bitmap::kMaxPixels;
}

// Reads the rows one at a time into a row of the decoder's own memory. Holds no object that needs destroying:
// an error leaves it by a long jump back to ReadTrapped.
bool ReadRows(jpeg_decompress_struct& info, int width, int height, const std::vector<int>& rows,
              const TakeRow& take) {
    jpeg_read_header(&info, TRUE);
    if (!Readable(info, width, height)) return false;
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                info.output_width * 3, 1);
    // Every row is decoded in turn, as a whole decode decodes them: libjpeg's way of passing over rows reads a
    // damaged stream differently, and could make something of a picture that a whole decode refuses.
    size_t next = 0;
    while (info.output_scanline < info.output_height) {
        const int y = int(info.output_scanline);
        if (jpeg_read_scanlines(&info, row, 1) != 1) return false;
        for (; next < rows.size() && rows[next] == y; ++next) take(next, row[0]);
        if (next < rows.size() && (rows[next] < y || rows[next] >= height)) return false;
    }
    jpeg_finish_decompress(&info);
    return true;
}

// Reads the rows with the trap set; an error jumps back here and fails the reading.
bool ReadTrapped(jpeg_decompress_struct& info, ErrorTrap& trap, const uint8_t* data, size_t size, int width,
                 int height, const std::vector<int>& rows, const TakeRow& take) {
    if (setjmp(trap.jump) != 0) return false;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    return ReadRows(info, width, height, rows, take);
}

}  // namespace

bool ReadJpegRows(const uint8_t* data, size_t size, int width, int height, const std::vector<int>& rows,
                  const TakeRow& take) {
    if (data == nullptr || size < 2 || size > ULONG_MAX || data[0] != 0xFF || data[1] != 0xD8) return false;
    // TurboJPEG refuses some headers that libjpeg reads (sampling factors it has no name for); what DecodeInto
    // refuses is refused here too.
    if (!ReadImageSize(data, size, nullptr, nullptr)) return false;
    jpeg_decompress_struct info{};  // destroying it is safe even when creating it failed
    ErrorTrap trap;
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = LeaveOnError;
    trap.manager.output_message = StayQuiet;
    const bool read = ReadTrapped(info, trap, data, size, width, height, rows, take);
    jpeg_destroy_decompress(&info);
    return read;
}

}  // namespace kestrova::imaging
