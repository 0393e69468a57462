// libFuzzer target: WriteJpeg on arbitrary bytes as the still frame (decode, band, scale, encode
// and the file write into a scratch folder on a RAM disk where there is one).

#include "still_frame_fuzz.h"

#include <QDir>
#include <QTemporaryDir>

namespace {

QString ScratchFolder() {
    static const QTemporaryDir folder(QDir("/dev/shm").exists()
                                          ? QStringLiteral("/dev/shm/zv-fuzz-XXXXXX")
                                          : QDir::tempPath() + QStringLiteral("/zv-fuzz-XXXXXX"));
    return folder.path();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zv::fuzz::WriteStillFrame(data, size, ScratchFolder());
    return 0;
}
