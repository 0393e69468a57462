#include "imaging/jpeg_error_trap.h"

// The message codes (JWRN_*) come from libjpeg's own error header.
#include <jerror.h>

namespace zv {

namespace {

[[noreturn]] void Leave(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegErrorTrap*>(info->err)->jump, 1);
}

void OnMessage(j_common_ptr info, int level) {
    // Level -1 is a warning; higher levels are trace messages.
    if (level < 0 && !JpegErrorTrap::IsHarmless(info->err->msg_code)) {
        Leave(info);
    }
}

void OnOutput(j_common_ptr) {}

}  // namespace

bool JpegErrorTrap::IsHarmless(int messageCode) {
    switch (messageCode) {
        // Stray bytes before a marker: USB cameras pad their motion-JPEG frames so. The scan
        // before the marker was complete, or a missing part is reported on its own.
        case JWRN_EXTRANEOUS_DATA:
        // Header fields the decoder does not need for the pixels.
        case JWRN_JFIF_MAJOR:
        case JWRN_ADOBE_XFORM:
        case JWRN_NOT_SEQUENTIAL:
        case JWRN_BOGUS_ICC:
            return true;
        default:
            // Missing or wrong pixels: a frame cut short, a marker hit inside the entropy-coded
            // data, a bad Huffman or arithmetic code, a lost restart, a broken progression.
            return false;
    }
}

void JpegErrorTrap::Install(j_common_ptr info) {
    jpeg_std_error(&manager);
    manager.error_exit = Leave;
    manager.emit_message = OnMessage;
    manager.output_message = OnOutput;
    info->err = &manager;
}

}  // namespace zv
