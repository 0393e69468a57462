#include "imaging/jpeg_row_decoder.h"

#include "imaging/imaging_status.h"
#include "imaging/jpeg_error_trap.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace zv {

namespace {

// Qt's RGB32 is 0xffRRGGBB in native order: B G R X bytes on little-endian machines.
constexpr J_COLOR_SPACE kRowFormat = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;
constexpr int kMaxRowsPerRead = 64;

void CheckScanCount(j_common_ptr common) {
    const auto* info = reinterpret_cast<j_decompress_ptr>(common);
    if (info->progressive_mode && info->input_scan_number > JpegRowDecoder::kMaxScans) {
        common->err->error_exit(common);
    }
}

}  // namespace

struct JpegRowDecoder::State {
    jpeg_decompress_struct info{};
    JpegErrorTrap trap{};
    jpeg_progress_mgr progress{};
    JSAMPROW rows[kMaxRowsPerRead]{};
    std::vector<JSAMPLE> scratch;
    int wanted = 0;
    int delivered = 0;
    bool created = false;
    bool started = false;
    bool finished = false;
    bool failed = false;
};

JpegRowDecoder::JpegRowDecoder() : m_state(std::make_unique<State>()) {}

JpegRowDecoder::~JpegRowDecoder() {
    if (m_state->created) {
        jpeg_destroy_decompress(&m_state->info);
    }
}

Status JpegRowDecoder::Open(const std::uint8_t* data, std::size_t length) {
    State* const state = m_state.get();
    if (data == nullptr || length == 0 || length > ULONG_MAX || state->created) {
        return kBadImage;
    }
    state->trap.Install(reinterpret_cast<j_common_ptr>(&state->info));
    if (setjmp(state->trap.jump) != 0) {
        state->failed = true;
        return kBadImage;
    }
    jpeg_create_decompress(&state->info);
    state->created = true;
    state->progress.progress_monitor = CheckScanCount;
    state->info.progress = &state->progress;
    jpeg_mem_src(&state->info, data, static_cast<unsigned long>(length));
    if (jpeg_read_header(&state->info, TRUE) != JPEG_HEADER_OK ||
        std::int64_t{state->info.image_width} * state->info.image_height > kMaxPixels) {
        state->failed = true;
        return kBadImage;
    }
    state->info.out_color_space = kRowFormat;
    state->info.dct_method = JDCT_ISLOW;
    jpeg_start_decompress(&state->info);
    state->started = true;
    return kOk;
}

QSize JpegRowDecoder::Size() const {
    if (!m_state->started) {
        return {};
    }
    return QSize(static_cast<int>(m_state->info.output_width),
                 static_cast<int>(m_state->info.output_height));
}

int JpegRowDecoder::RowsDone() const {
    return m_state->started ? static_cast<int>(m_state->info.output_scanline) : 0;
}

Status JpegRowDecoder::ReadRows(uchar* first, qsizetype stride, int count, int* decoded) {
    State* const state = m_state.get();
    *decoded = 0;
    if (!state->started || state->failed || state->finished) {
        return kBadImage;
    }
    // Everything the guarded part uses lives in the state, not in locals that a longjmp could
    // leave stale.
    state->wanted = std::clamp(
        std::min(count, static_cast<int>(state->info.output_height - state->info.output_scanline)),
        0, kMaxRowsPerRead);
    state->delivered = 0;
    for (int i = 0; i < state->wanted; ++i) {
        state->rows[i] = first + i * stride;
    }
    if (setjmp(state->trap.jump) != 0) {
        state->failed = true;
        return kBadImage;
    }
    while (state->delivered < state->wanted) {
        const JDIMENSION read =
            jpeg_read_scanlines(&state->info, state->rows + state->delivered,
                                static_cast<JDIMENSION>(state->wanted - state->delivered));
        if (read == 0) {
            // A memory source never suspends; no progress means no more data.
            state->failed = true;
            return kBadImage;
        }
        state->delivered += static_cast<int>(read);
    }
    *decoded = state->delivered;
    return kOk;
}

Status JpegRowDecoder::SkipRows(int count) {
    State* const state = m_state.get();
    if (!state->started || state->failed || state->finished || count < 0 ||
        static_cast<JDIMENSION>(count) > state->info.output_height - state->info.output_scanline) {
        return kBadImage;
    }
    if (count == 0) {
        return kOk;
    }
    // libjpeg skips to the very end without reading the data at all; so the last row is decoded
    // (into a scratch row), which reads and checks everything before it.
    const bool toTheEnd =
        static_cast<JDIMENSION>(count) == state->info.output_height - state->info.output_scanline;
    state->wanted = toTheEnd ? count - 1 : count;
    if (toTheEnd) {
        state->scratch.resize(static_cast<std::size_t>(state->info.output_width) * 4);
        state->rows[0] = state->scratch.data();
    }
    if (setjmp(state->trap.jump) != 0) {
        state->failed = true;
        return kBadImage;
    }
    if (state->wanted > 0 &&
        jpeg_skip_scanlines(&state->info, static_cast<JDIMENSION>(state->wanted)) !=
            static_cast<JDIMENSION>(state->wanted)) {
        state->failed = true;
        return kBadImage;
    }
    if (toTheEnd && jpeg_read_scanlines(&state->info, state->rows, 1) != 1) {
        state->failed = true;
        return kBadImage;
    }
    return kOk;
}

Status JpegRowDecoder::Finish() {
    State* const state = m_state.get();
    if (!state->started || state->failed || state->finished ||
        state->info.output_scanline < state->info.output_height) {
        return kBadImage;
    }
    if (setjmp(state->trap.jump) != 0) {
        state->failed = true;
        return kBadImage;
    }
    jpeg_finish_decompress(&state->info);
    state->finished = true;
    return kOk;
}

}  // namespace zv
