#include "imaging/jpeg_error_trap.h"

namespace zv {

namespace {

[[noreturn]] void Leave(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegErrorTrap*>(info->err)->jump, 1);
}

// Level -1 is a warning: the data is damaged. Higher levels are trace messages.
void OnMessage(j_common_ptr info, int level) {
    if (level < 0) {
        Leave(info);
    }
}

void OnOutput(j_common_ptr) {}

}  // namespace

void JpegErrorTrap::Install(j_common_ptr info) {
    jpeg_std_error(&manager);
    manager.error_exit = Leave;
    manager.emit_message = OnMessage;
    manager.output_message = OnOutput;
    info->err = &manager;
}

}  // namespace zv
