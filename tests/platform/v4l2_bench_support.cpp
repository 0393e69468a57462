#include "platform/v4l2_bench_support.h"

#include "platform/devices/device_entry.h"
#include "platform/devices/device_enumerator.h"
#include "platform/devices/scanner_contract.h"
#include "platform/media/stream_config.h"
#include "platform/media/video_info.h"

#include <QFile>
#include <QProcess>

#include <vector>

namespace zv::test {

QString BenchDevice() {
    const char* device = std::getenv("ZV_BENCH_DEVICE");
    return device != nullptr ? QString::fromLatin1(device) : QStringLiteral("scanner");
}

bool Presents(const char* device) {
    return BenchDevice() == QLatin1String(device);
}

std::string DeviceNode() {
    const char* node = std::getenv("UVCBENCH_DEVICE");
    return node != nullptr ? node : "";
}

QByteArray ScannerFrame(int width, int height) {
    QFile file(QStringLiteral("%1/mjpeg-%2x%3.jpg")
                   .arg(QString::fromLocal8Bit(std::getenv("UVCBENCH_FRAMES")))
                   .arg(width)
                   .arg(height));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool Plug(const char* state) {
    const char* helper = std::getenv("UVCBENCH_PLUG");
    return helper != nullptr &&
           QProcess::execute(
               QString::fromLocal8Bit(helper),
               {QString::fromLatin1(state), QStringLiteral("--wait"), QStringLiteral("20")}) == 0;
}

BoundDevice BindBenchNode(v4l2::V4l2DeviceBackend& backend) {
    std::unique_ptr<devices::DeviceEnumerator> list;
    EXPECT_EQ(backend.CreateClassEnumerator(devices::kVideoInputDeviceCategory, &list), kOk);
    std::unique_ptr<devices::DeviceEntry> entry;
    while (list != nullptr && list->Next(&entry) == kOk) {
        BoundDevice device;
        EXPECT_EQ(
            entry->ReadProperty(QString::fromLatin1(devices::kDevicePathProperty), &device.path),
            kOk);
        if (device.path.endsWith(QLatin1Char('#') + QString::fromStdString(DeviceNode()))) {
            EXPECT_EQ(entry->BindFilter(&device.filter), kOk);
            return device;
        }
    }
    ADD_FAILURE() << "the bench's node " << DeviceNode() << " is not listed";
    return {};
}

v4l2::V4l2SourceFilter& Source(const BoundDevice& device) {
    return static_cast<v4l2::V4l2SourceFilter&>(*device.filter);
}

bool SetFormat(media::Pin& pin, const Guid& subtype, int width, int height) {
    media::StreamConfig* config = pin.GetStreamConfig();
    int count = 0;
    int size = 0;
    if (config == nullptr || config->GetNumberOfCapabilities(&count, &size) != kOk) {
        return false;
    }
    std::vector<std::byte> caps(static_cast<std::size_t>(size));
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<media::MediaType> type;
        if (config->GetStreamCaps(i, &type, caps) == kOk && type->Subtype() == subtype &&
            media::ReadVideoInfo(*type).value_or(media::VideoInfoFields{}).size ==
                media::FrameSize{width, height}) {
            return config->SetFormat(*type) == kOk;
        }
    }
    return false;
}

devices::KsNodeProperty XuRequest(std::uint32_t id, std::uint32_t flags, std::uint32_t node) {
    devices::KsNodeProperty request;
    request.set = contract::kExtensionUnitPropertySet;
    request.id = id;
    request.flags = flags;
    request.nodeId = node;
    return request;
}

}  // namespace zv::test
