#include "vips_save.h"

#include <algorithm>
#include <memory>
#include <vips/vips.h>

namespace zv::bench {
namespace {

struct ImageRelease {
    void operator()(VipsImage* image) const { g_object_unref(image); }
};
using Image = std::unique_ptr<VipsImage, ImageRelease>;

std::string TakeError() {
    std::string text = vips_error_buffer();
    vips_error_clear();
    return text.empty() ? "libvips failed" : text;
}

// A 1:1 band is saved as it is, as WriteJpeg does.
int Scale(VipsImage* band, const VipsJob& job, Image* out) {
    if (band->Xsize == job.targetWidth && band->Ysize == job.targetHeight) {
        g_object_ref(band);
        out->reset(band);
        return 0;
    }
    VipsArrayInt* area = vips_array_int_newv(4, 0, 0, job.targetWidth, job.targetHeight);
    const double xScale = double(job.targetWidth) / band->Xsize;
    const double yScale = double(job.targetHeight) / band->Ysize;
    // Pixel centres onto pixel centres, as the window's bilinear drawing maps them; without the
    // offsets the picture moves by half a source pixel.
    VipsImage* scaled = nullptr;
    const int failed = vips_affine(band, &scaled, xScale, 0.0, 0.0, yScale, "interpolate",
                                   vips_interpolate_bilinear_static(), "oarea", area, "idx",
                                   0.5 - 0.5 / xScale, "idy", 0.5 - 0.5 / yScale, nullptr);
    vips_area_unref(VIPS_AREA(area));
    out->reset(scaled);
    return failed;
}

}  // namespace

std::string StartVips(const char* program) {
    if (VIPS_INIT(program) != 0) {
        return TakeError();
    }
    vips_cache_set_max(0);
    return {};
}

void StopVips() {
    vips_shutdown();
}

std::string VipsSave(const VipsJob& job, const std::string& path) {
    // Sequential access: libvips streams the decode through the pipeline instead of decoding the
    // whole frame into memory first, its fastest mode for a one-pass job like this one.
    VipsImage* raw = nullptr;
    if (vips_jpegload_buffer(const_cast<std::uint8_t*>(job.frame), job.length, &raw, "access",
                             VIPS_ACCESS_SEQUENTIAL, nullptr) != 0) {
        return TakeError();
    }
    const Image decoded(raw);
    const int top = std::max(job.bandY, 0);
    const int rows = std::min(job.bandHeight, decoded->Ysize - top);
    VipsImage* cut = nullptr;
    if (vips_extract_area(decoded.get(), &cut, 0, top, decoded->Xsize, rows, nullptr) != 0) {
        return TakeError();
    }
    const Image band(cut);
    Image scaled;
    if (Scale(band.get(), job, &scaled) != 0 ||
        vips_jpegsave(scaled.get(), path.c_str(), "Q", 100, "subsample_mode",
                      VIPS_FOREIGN_SUBSAMPLE_OFF, nullptr) != 0) {
        return TakeError();
    }
    return {};
}

}  // namespace zv::bench
