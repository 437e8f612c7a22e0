// Chosen JPEG rows through libjpeg's own interface, which hands out one row at a time; TurboJPEG's writes the
// whole picture. The decoder is set up as TurboJPEG sets it up for DecodeInto (accurate integer transform,
// smooth chroma upsampling, blue-green-red output), so the rows come out the same, and it treats damage alike:
// warnings (a few stray bytes, a picture cut short) still give the rows, errors end the reading. Cameras' 4:2:0
// pictures are read as planes, and only the pixels asked for are upsampled and converted, which is most of the
// work after the transform.
#include "platform/imaging/jpeg_rows.h"

#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "platform/imaging/bitmap.h"
#include "platform/imaging/ycc420_pixels.h"

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

// Rows asked for in rising order, within the top `height` rows; columns within the width. Rows mostly share
// their lists of columns, so each list is looked at once.
bool Asked(const std::vector<RowRequest>& rows, int width, int height) {
    std::vector<const std::vector<int>*> checked;
    for (size_t i = 0; i < rows.size(); ++i) {
        const RowRequest& r = rows[i];
        const bool inOrder = i == 0 || r.row >= rows[i - 1].row;
        if (r.row < 0 || r.row >= height || !inOrder || r.columns == nullptr || r.into == nullptr) return false;
        if (std::find(checked.begin(), checked.end(), r.columns) != checked.end()) continue;
        for (const int x : *r.columns)
            if (x < 0 || x >= width) return false;
        checked.push_back(r.columns);
    }
    return true;
}

// 4:2:0 as cameras send it, where the decoder's smooth upsampling blends neighbouring chroma samples (it does
// not for chroma rows two samples wide or less).
bool CameraSampling(const jpeg_decompress_struct& info) {
    if (info.num_components != 3 || info.jpeg_color_space != JCS_YCbCr) return false;
    const jpeg_component_info* c = info.comp_info;
    return c[0].h_samp_factor == 2 && c[0].v_samp_factor == 2 && c[1].h_samp_factor == 1 &&
           c[1].v_samp_factor == 1 && c[2].h_samp_factor == 1 && c[2].v_samp_factor == 1 &&
           c[1].downsampled_width > 2;
}

// Every row is decoded in turn, as a whole decode decodes them: libjpeg's way of passing over rows reads a
// damaged stream differently, and could make something of a picture that a whole decode refuses.
bool ReadScanlines(jpeg_decompress_struct& info, const std::vector<RowRequest>& rows, const RowDone& done) {
    JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                info.output_width * 3, 1);
    size_t next = 0;
    while (info.output_scanline < info.output_height) {
        const int y = int(info.output_scanline);
        if (jpeg_read_scanlines(&info, row, 1) != 1) return false;
        for (; next < rows.size() && rows[next].row == y; ++next) {
            for (const int x : *rows[next].columns) {
                const JSAMPLE* pixel = row[0] + x * 3;
                uint8_t* to = rows[next].into + x * 3;
                to[0] = pixel[0], to[1] = pixel[1], to[2] = pixel[2];
            }
            done(next);
        }
    }
    return true;
}

// A 4:2:0 picture read as its planes, 16 luma and 8 chroma rows at a time, and only the pixels asked for made
// from them. The planes of the last two block rows are kept: a row blends the chroma row above or below its
// own, which for the first row of a block row came with the one before, and for its last comes with the next.
constexpr int kLumaRows = 16, kChromaRows = 8;
constexpr int kLumaKept = 2 * kLumaRows, kChromaKept = 2 * kChromaRows;

bool ReadPlanes(jpeg_decompress_struct& info, const std::vector<RowRequest>& rows, const RowDone& done) {
    auto plane = [&](const jpeg_component_info& c, int kept) {
        return (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                         c.width_in_blocks * DCTSIZE, JDIMENSION(kept));
    };
    JSAMPARRAY luma = plane(info.comp_info[0], kLumaKept), cb = plane(info.comp_info[1], kChromaKept),
               cr = plane(info.comp_info[2], kChromaKept);
    const int chromaHeight = int(info.comp_info[1].downsampled_height);
    ycc420::RowPlanes planes;
    planes.chromaWidth = int(info.comp_info[1].downsampled_width);
    size_t next = 0;
    for (int block = 0; info.output_scanline < info.output_height; ++block) {
        JSAMPARRAY at[3] = {luma + block % 2 * kLumaRows, cb + block % 2 * kChromaRows,
                            cr + block % 2 * kChromaRows};
        if (jpeg_read_raw_data(&info, at, kLumaRows) == 0) return false;
        const bool last = info.output_scanline >= info.output_height;
        const int chromaRead = (block + 1) * kChromaRows;
        for (; next < rows.size(); ++next) {
            const int y = rows[next].row;
            const int near = y / 2, far = std::clamp(y % 2 ? near + 1 : near - 1, 0, chromaHeight - 1);
            if (!last && std::max(near, far) >= chromaRead) break;
            planes.luma = luma[y % kLumaKept];
            planes.cbNear = cb[near % kChromaKept], planes.cbFar = cb[far % kChromaKept];
            planes.crNear = cr[near % kChromaKept], planes.crFar = cr[far % kChromaKept];
            ycc420::ToBgr(planes, *rows[next].columns, rows[next].into);
            done(next);
        }
    }
    return true;
}

// Reads the rows into their places, through memory of the decoder's own. Holds no object that needs
// destroying: an error leaves it by a long jump back to ReadTrapped.
bool ReadRows(jpeg_decompress_struct& info, int width, int height, const std::vector<RowRequest>& rows,
              const RowDone& done) {
    jpeg_read_header(&info, TRUE);
    if (!Readable(info, width, height)) return false;
    const bool planes = CameraSampling(info);
    if (planes) {
        info.raw_data_out = TRUE;
    } else {
        info.out_color_space = JCS_EXT_BGR;
    }
    jpeg_start_decompress(&info);
    if (!(planes ? ReadPlanes(info, rows, done) : ReadScanlines(info, rows, done))) return false;
    jpeg_finish_decompress(&info);
    return true;
}

// Reads the rows with the trap set; an error jumps back here and fails the reading.
bool ReadTrapped(jpeg_decompress_struct& info, ErrorTrap& trap, const uint8_t* data, size_t size, int width,
                 int height, const std::vector<RowRequest>& rows, const RowDone& done) {
    if (setjmp(trap.jump) != 0) return false;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    return ReadRows(info, width, height, rows, done);
}

}  // namespace

bool ReadJpegRows(const uint8_t* data, size_t size, int width, int height, const std::vector<RowRequest>& rows,
                  const RowDone& done) {
    if (!Asked(rows, width, height)) return false;
    if (data == nullptr || size < 2 || size > ULONG_MAX || data[0] != 0xFF || data[1] != 0xD8) return false;
    // TurboJPEG refuses some headers that libjpeg reads (sampling factors it has no name for); what DecodeInto
    // refuses is refused here too.
    if (!ReadImageSize(data, size, nullptr, nullptr)) return false;
    jpeg_decompress_struct info{};  // destroying it is safe even when creating it failed
    ErrorTrap trap;
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = LeaveOnError;
    trap.manager.output_message = StayQuiet;
    const bool read = ReadTrapped(info, trap, data, size, width, height, rows, done);
    jpeg_destroy_decompress(&info);
    return read;
}

}  // namespace kestrova::imaging
