#include "imaging/jpeg_row_encoder.h"

#include "imaging/jpeg_error_trap.h"

#include <algorithm>

namespace zv {

namespace {

constexpr J_COLOR_SPACE kRowFormat = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;
constexpr int kMaxRowsPerWrite = 64;
// The largest picture libjpeg takes (JPEG_MAX_DIMENSION).
constexpr int kMaxSide = 65500;

// A marker segment's length field counts itself.
constexpr qsizetype kMaxSegmentPayload = 65533;
// JFIF density unit 1: dots per inch.
constexpr UINT8 kDotsPerInch = 1;

void SetDensity(j_compress_ptr info, QSize dotsPerInch) {
    if (dotsPerInch.isEmpty()) {
        return;
    }
    info->density_unit = kDotsPerInch;
    info->X_density = static_cast<UINT16>(std::min(dotsPerInch.width(), 65535));
    info->Y_density = static_cast<UINT16>(std::min(dotsPerInch.height(), 65535));
}

// The file grows in `bytes`; libjpeg writes straight into its spare room.
struct GrowingOutput {
    jpeg_destination_mgr manager;  // first: libjpeg hands back a pointer to it as the whole
    QByteArray bytes;
};

GrowingOutput* OutputOf(j_compress_ptr info) {
    return reinterpret_cast<GrowingOutput*>(info->dest);
}

void StartOutput(j_compress_ptr info) {
    GrowingOutput* const output = OutputOf(info);
    output->manager.next_output_byte = reinterpret_cast<JOCTET*>(output->bytes.data());
    output->manager.free_in_buffer = static_cast<std::size_t>(output->bytes.size());
}

// The buffer is full: double it and let libjpeg go on where it stopped.
boolean GrowOutput(j_compress_ptr info) {
    GrowingOutput* const output = OutputOf(info);
    const qsizetype used = output->bytes.size();
    output->bytes.resize(used * 2);
    output->manager.next_output_byte = reinterpret_cast<JOCTET*>(output->bytes.data() + used);
    output->manager.free_in_buffer = static_cast<std::size_t>(output->bytes.size() - used);
    return TRUE;
}

void EndOutput(j_compress_ptr info) {
    GrowingOutput* const output = OutputOf(info);
    output->bytes.truncate(output->bytes.size() -
                           static_cast<qsizetype>(output->manager.free_in_buffer));
}

}  // namespace

struct JpegRowEncoder::State {
    jpeg_compress_struct info{};
    JpegErrorTrap trap{};
    GrowingOutput output{};
    bool created = false;
    bool started = false;
    bool failed = false;
};

// One batch of rows; kept apart so that nothing lives across the setjmp but the arguments.
Status JpegRowEncoder::WriteBatch(JSAMPROW* rows, int count) {
    State* const state = m_state.get();
    if (setjmp(state->trap.jump) != 0) {
        state->failed = true;
        return kFail;
    }
    jpeg_write_scanlines(&state->info, rows, static_cast<JDIMENSION>(count));
    return kOk;
}

JpegRowEncoder::JpegRowEncoder() : m_state(std::make_unique<State>()) {}

JpegRowEncoder::~JpegRowEncoder() {
    if (m_state->created) {
        jpeg_destroy_compress(&m_state->info);
    }
}

Status JpegRowEncoder::Start(QSize size, const JpegFileHeader& header) {
    State* const state = m_state.get();
    if (size.isEmpty() || size.width() > kMaxSide || size.height() > kMaxSide ||
        header.exif.size() > kMaxSegmentPayload) {
        return kInvalidArg;
    }
    if (state->created) {
        return kFail;
    }
    // A grainy film scan at quality 100 and 4:4:4 takes about a sixth of its RGB size.
    state->output.bytes.resize(qsizetype{size.width()} * size.height() / 2 + 65536);
    state->trap.Install(reinterpret_cast<j_common_ptr>(&state->info));
    if (setjmp(state->trap.jump) != 0) {
        state->failed = true;
        return kFail;
    }
    jpeg_create_compress(&state->info);
    state->created = true;
    state->output.manager.init_destination = StartOutput;
    state->output.manager.empty_output_buffer = GrowOutput;
    state->output.manager.term_destination = EndOutput;
    state->info.dest = &state->output.manager;
    state->info.image_width = static_cast<JDIMENSION>(size.width());
    state->info.image_height = static_cast<JDIMENSION>(size.height());
    state->info.input_components = 4;
    state->info.in_color_space = kRowFormat;
    jpeg_set_defaults(&state->info);
    jpeg_set_quality(&state->info, kQuality, TRUE);
    state->info.dct_method = JDCT_ISLOW;
    for (int i = 0; i < state->info.num_components; ++i) {
        state->info.comp_info[i].h_samp_factor = 1;
        state->info.comp_info[i].v_samp_factor = 1;
    }
    SetDensity(&state->info, header.dotsPerInch);
    // SOI and the JFIF header; markers written now follow them, before the tables.
    jpeg_start_compress(&state->info, TRUE);
    if (!header.exif.isEmpty()) {
        jpeg_write_marker(&state->info, JPEG_APP0 + 1,
                          reinterpret_cast<const JOCTET*>(header.exif.constData()),
                          static_cast<unsigned int>(header.exif.size()));
    }
    state->started = true;
    return kOk;
}

Status JpegRowEncoder::WriteRows(const uchar* first, qsizetype stride, int count) {
    State* const state = m_state.get();
    if (!state->started || state->failed || count < 0 ||
        state->info.next_scanline + static_cast<JDIMENSION>(count) > state->info.image_height) {
        return kFail;
    }
    for (int done = 0; done < count; done += kMaxRowsPerWrite) {
        const int batch = std::min(kMaxRowsPerWrite, count - done);
        JSAMPROW rows[kMaxRowsPerWrite];
        for (int i = 0; i < batch; ++i) {
            // libjpeg does not write to its input rows; its interface just lacks the const.
            rows[i] = const_cast<uchar*>(first + (done + i) * stride);
        }
        const Status status = WriteBatch(rows, batch);
        if (status != kOk) {
            return status;
        }
    }
    return kOk;
}

Status JpegRowEncoder::Finish(QByteArray* jpeg) {
    State* const state = m_state.get();
    jpeg->clear();
    if (!state->started || state->failed || state->info.next_scanline < state->info.image_height) {
        return kFail;
    }
    if (setjmp(state->trap.jump) != 0) {
        state->failed = true;
        return kFail;
    }
    jpeg_finish_compress(&state->info);
    state->started = false;
    *jpeg = std::move(state->output.bytes);
    return kOk;
}

}  // namespace zv
