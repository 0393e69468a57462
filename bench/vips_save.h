#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zv::bench {

// The save path's job done by libvips through its C API, for the benchmark's peer column:
// decode the frame from memory, cut the band rows out of it, scale them with plain bilinear
// interpolation (no prefilter) to the target, save a quality-100 JPEG with full-resolution chroma.
// Kept free of Qt: glib's headers and Qt's keywords do not mix in one translation unit.
struct VipsJob {
    const std::uint8_t* frame = nullptr;
    std::size_t length = 0;
    int bandY = 0;
    int bandHeight = 0;
    int targetWidth = 0;
    int targetHeight = 0;
};

// Starts libvips once per process, with its operation cache off so that every repetition of the
// same job is done again rather than answered from the cache. Empty on success, else the error.
std::string StartVips(const char* program);
// Runs `job` and writes the file at `path`. Empty on success, else libvips' error text.
std::string VipsSave(const VipsJob& job, const std::string& path);
void StopVips();

}  // namespace zv::bench
