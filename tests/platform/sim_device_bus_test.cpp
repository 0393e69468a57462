#include "platform/sim/sim_device_bus.h"

#include "platform/devices/device_entry.h"
#include "platform/devices/scanner_contract.h"
#include "platform/media/filter.h"
#include "platform/sim/sim_device_filter.h"
#include "support/wait.h"

#include <QCoreApplication>
#include <QThread>

#include <gtest/gtest.h>
#include <thread>

namespace zv::sim {
namespace {

using devices::DeviceChangeEvent;

const QString kDevicePath = QString::fromLatin1(devices::kDevicePathProperty);

// The paths the bus lists for the video input category, in order.
std::vector<QString> ListedPaths(SimDeviceBus& bus) {
    std::vector<QString> paths;
    std::unique_ptr<devices::DeviceEnumerator> enumerator;
    if (bus.CreateClassEnumerator(devices::kVideoInputDeviceCategory, &enumerator) != kOk) {
        EXPECT_EQ(enumerator, nullptr);
        return paths;
    }
    std::unique_ptr<devices::DeviceEntry> entry;
    while (enumerator->Next(&entry) == kOk) {
        QString path;
        EXPECT_EQ(entry->ReadProperty(kDevicePath, &path), kOk);
        paths.push_back(path);
    }
    return paths;
}

// Collects what a notifier delivers, and on which thread.
class Listener {
public:
    explicit Listener(std::unique_ptr<devices::DeviceNotifier> notifier)
        : m_notifier(std::move(notifier)) {
        QObject::connect(m_notifier.get(), &devices::DeviceNotifier::deviceChange, m_notifier.get(),
                         [this](const DeviceChangeEvent& event) {
                             events.push_back(event);
                             threads.push_back(QThread::currentThread());
                         });
    }
    void Unregister() { m_notifier.reset(); }

    std::vector<DeviceChangeEvent> events;
    std::vector<QThread*> threads;

private:
    std::unique_ptr<devices::DeviceNotifier> m_notifier;
};

// Runs the event loop until `count` events arrived; then a little longer, so that an event too
// many would show.
bool Receive(const Listener& listener, std::size_t count) {
    const bool arrived = test::WaitUntil([&] { return listener.events.size() >= count; });
    QCoreApplication::processEvents();
    return arrived && listener.events.size() == count;
}

TEST(SimDeviceBus, EmptyBusListsNoDevice) {
    SimDeviceBus bus;
    std::unique_ptr<devices::DeviceEnumerator> enumerator;
    EXPECT_EQ(bus.CreateClassEnumerator(devices::kVideoInputDeviceCategory, &enumerator), kFalse);
    EXPECT_EQ(enumerator, nullptr);
    EXPECT_EQ(bus.CreateClassEnumerator(devices::kVideoInputDeviceCategory, nullptr), kPointer);
}

TEST(SimDeviceBus, ListsCaptureDevicesInPlugOrder) {
    SimDeviceBus bus;
    const auto webcam = bus.Plug(WebcamDevice(), false);
    const auto first = bus.Plug(ScannerDevice(QStringLiteral("A")), false);
    SimDeviceConfig audio = WebcamDevice(QStringLiteral("MIC"));
    audio.interfaceClass =
        Guid{0x6994AD04, 0x93EF, 0x11D0, {0xA3, 0xCC, 0, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
    bus.Plug(audio, false);
    const auto second = bus.Plug(ScannerDevice(QStringLiteral("B")), false);
    EXPECT_EQ(ListedPaths(bus), (std::vector<QString>{webcam->DevicePath(), first->DevicePath(),
                                                      second->DevicePath()}));
    EXPECT_EQ(bus.Devices().size(), 4u);
    // No other category has devices.
    std::unique_ptr<devices::DeviceEnumerator> enumerator;
    EXPECT_EQ(bus.CreateClassEnumerator(contract::kCaptureInterfaceCategory, &enumerator), kFalse);
}

TEST(SimDeviceBus, EntryBindsTheDevicesFilterAndReadsItsProperties) {
    SimDeviceBus bus;
    const auto scanner = bus.Plug(ScannerDevice(), false);
    std::unique_ptr<devices::DeviceEnumerator> enumerator;
    ASSERT_EQ(bus.CreateClassEnumerator(devices::kVideoInputDeviceCategory, &enumerator), kOk);
    std::unique_ptr<devices::DeviceEntry> entry;
    ASSERT_EQ(enumerator->Next(&entry), kOk);
    std::shared_ptr<media::Filter> filter;
    ASSERT_EQ(entry->BindFilter(&filter), kOk);
    EXPECT_EQ(filter, scanner);
    QString value;
    ASSERT_EQ(entry->ReadProperty(kDevicePath, &value), kOk);
    EXPECT_EQ(value, QStringLiteral("sim:usb#vid_8888&pid_0001#SCN0001#"
                                    "{65e8773d-8f56-11d0-a3b9-00a0c9223196}"));
    ASSERT_EQ(entry->ReadProperty(QStringLiteral("FriendlyName"), &value), kOk);
    EXPECT_EQ(value, QStringLiteral("Simulated Film Scanner"));
    value = QStringLiteral("kept");
    EXPECT_EQ(entry->ReadProperty(QStringLiteral("CLSID"), &value), kNotFound);
    EXPECT_EQ(value, QStringLiteral("kept"));
    std::unique_ptr<devices::DeviceEntry> end;
    EXPECT_EQ(enumerator->Next(&end), kFalse);
    EXPECT_EQ(end, nullptr);
}

TEST(SimDeviceBus, ConfiguredFailuresOfBindingAndReading) {
    SimDeviceBus bus;
    SimDeviceConfig config = ScannerDevice();
    config.bindResult = MakeStatus(0x8007001F);
    config.devicePathResult = kNotFound;
    bus.Plug(config, false);
    std::unique_ptr<devices::DeviceEnumerator> enumerator;
    ASSERT_EQ(bus.CreateClassEnumerator(devices::kVideoInputDeviceCategory, &enumerator), kOk);
    std::unique_ptr<devices::DeviceEntry> entry;
    ASSERT_EQ(enumerator->Next(&entry), kOk);
    std::shared_ptr<media::Filter> filter;
    EXPECT_EQ(entry->BindFilter(&filter), MakeStatus(0x8007001F));
    EXPECT_EQ(filter, nullptr);
    QString value;
    EXPECT_EQ(entry->ReadProperty(kDevicePath, &value), kNotFound);
    EXPECT_TRUE(value.isEmpty());
}

TEST(SimDeviceBus, DeviceUnpluggedAfterListingCannotBeBound) {
    SimDeviceBus bus;
    const auto scanner = bus.Plug(ScannerDevice(), false);
    std::unique_ptr<devices::DeviceEnumerator> enumerator;
    ASSERT_EQ(bus.CreateClassEnumerator(devices::kVideoInputDeviceCategory, &enumerator), kOk);
    ASSERT_TRUE(bus.Unplug(scanner->DevicePath().toUpper(), false));
    EXPECT_FALSE(scanner->IsPlugged());
    std::unique_ptr<devices::DeviceEntry> entry;
    ASSERT_EQ(enumerator->Next(&entry), kOk);
    std::shared_ptr<media::Filter> filter;
    EXPECT_EQ(entry->BindFilter(&filter), devices::kDeviceNotConnected);
    QString value;
    EXPECT_EQ(entry->ReadProperty(kDevicePath, &value), devices::kDeviceNotConnected);
    EXPECT_TRUE(ListedPaths(bus).empty());
    EXPECT_FALSE(bus.Unplug(scanner->DevicePath(), false));
}

TEST(SimDeviceBus, APathIsPluggedOnlyOnce) {
    SimDeviceBus bus;
    const auto scanner = bus.Plug(ScannerDevice(), false);
    SimDeviceConfig again = ScannerDevice();
    again.devicePath = again.devicePath.toUpper();
    EXPECT_EQ(bus.Plug(again, false), nullptr);
    EXPECT_EQ(bus.Devices().size(), 1u);
    EXPECT_EQ(bus.Find(scanner->DevicePath().toUpper()), scanner);
    EXPECT_EQ(bus.Find(QStringLiteral("nothing")), nullptr);
}

TEST(SimDeviceBus, PlugAndUnplugAreAnnouncedLaterOnTheRegisteredThread) {
    SimDeviceBus bus;
    Listener listener(bus.RegisterDeviceNotification(contract::kCaptureInterfaceCategory));
    const auto scanner = bus.Plug(ScannerDevice());
    // Never delivered inside the call that caused it.
    EXPECT_TRUE(listener.events.empty());
    ASSERT_TRUE(Receive(listener, 1));
    bus.Unplug(scanner->DevicePath());
    ASSERT_TRUE(Receive(listener, 2));
    const std::vector<std::uint32_t> codes{listener.events[0].eventCode,
                                           listener.events[1].eventCode};
    EXPECT_EQ(codes, (std::vector<std::uint32_t>{devices::kDeviceArrival,
                                                 devices::kDeviceRemoveComplete}));
    for (const DeviceChangeEvent& event : listener.events) {
        EXPECT_EQ(event.deviceType, devices::kDeviceTypeInterface);
        EXPECT_EQ(event.classGuid, contract::kCaptureInterfaceCategory);
        EXPECT_EQ(event.name, scanner->DevicePath());
    }
    for (QThread* thread : listener.threads) {
        EXPECT_EQ(thread, QThread::currentThread());
    }
}

TEST(SimDeviceBus, UnannouncedChangesReachNobody) {
    SimDeviceBus bus;
    Listener listener(bus.RegisterDeviceNotification(contract::kCaptureInterfaceCategory));
    const auto scanner = bus.Plug(ScannerDevice(), false);
    bus.Unplug(scanner->DevicePath(), false);
    // A marker change shows that the loop ran past anything the two calls could have posted.
    bus.Raise(SimDeviceBus::InterfaceEvent(
        devices::kDeviceArrival, contract::kCaptureInterfaceCategory, QStringLiteral("marker")));
    ASSERT_TRUE(Receive(listener, 1));
    EXPECT_EQ(listener.events[0].name, QStringLiteral("marker"));
}

TEST(SimDeviceBus, InterfaceChangesGoToTheirClassOtherDeviceTypesToEveryone) {
    SimDeviceBus bus;
    const Guid audioClass{
        0x6994AD04, 0x93EF, 0x11D0, {0xA3, 0xCC, 0, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
    Listener capture(bus.RegisterDeviceNotification(contract::kCaptureInterfaceCategory));
    Listener audio(bus.RegisterDeviceNotification(audioClass));
    EXPECT_EQ(bus.RegistrationCount(), 2);

    SimDeviceConfig microphone = WebcamDevice(QStringLiteral("MIC"));
    microphone.interfaceClass = audioClass;
    bus.Plug(microphone);
    bus.Plug(ScannerDevice());
    DeviceChangeEvent volume;
    volume.eventCode = devices::kDeviceArrival;
    volume.deviceType = devices::kDeviceTypeVolume;
    EXPECT_EQ(bus.Raise(volume), 2);

    ASSERT_TRUE(Receive(capture, 2));
    ASSERT_TRUE(Receive(audio, 2));
    EXPECT_EQ(capture.events[0].classGuid, contract::kCaptureInterfaceCategory);
    EXPECT_EQ(capture.events[1].deviceType, devices::kDeviceTypeVolume);
    EXPECT_EQ(audio.events[0].classGuid, audioClass);
    EXPECT_EQ(audio.events[1].deviceType, devices::kDeviceTypeVolume);
}

TEST(SimDeviceBus, UnregisteringDropsWhatWasNotDeliveredYet) {
    SimDeviceBus bus;
    Listener gone(bus.RegisterDeviceNotification(contract::kCaptureInterfaceCategory));
    Listener stays(bus.RegisterDeviceNotification(contract::kCaptureInterfaceCategory));
    bus.Plug(ScannerDevice());
    gone.Unregister();
    EXPECT_EQ(bus.RegistrationCount(), 1);
    ASSERT_TRUE(Receive(stays, 1));
    EXPECT_TRUE(gone.events.empty());
}

TEST(SimDeviceBus, NotifierMayOutliveTheBus) {
    auto bus = std::make_unique<SimDeviceBus>();
    const auto scanner = bus->Plug(ScannerDevice(), false);
    Listener listener(bus->RegisterDeviceNotification(contract::kCaptureInterfaceCategory));
    bus.reset();
    // The filter a window still holds is gone for good with its bus.
    EXPECT_FALSE(scanner->IsPlugged());
    listener.Unregister();
}

TEST(SimDeviceBus, ChangesFromAnotherThreadArriveOnTheRegisteredThread) {
    SimDeviceBus bus;
    Listener listener(bus.RegisterDeviceNotification(contract::kCaptureInterfaceCategory));
    constexpr int kDevices = 20;
    std::thread plugger([&] {
        for (int i = 0; i < kDevices; ++i) {
            const auto device = bus.Plug(ScannerDevice(QString::number(i)));
            bus.Unplug(device->DevicePath());
        }
    });
    plugger.join();
    ASSERT_TRUE(Receive(listener, 2 * kDevices));
    for (int i = 0; i < kDevices; ++i) {
        EXPECT_EQ(listener.events[2 * i].eventCode, devices::kDeviceArrival);
        EXPECT_EQ(listener.events[2 * i + 1].eventCode, devices::kDeviceRemoveComplete);
        EXPECT_EQ(listener.events[2 * i].name, listener.events[2 * i + 1].name);
    }
    for (QThread* thread : listener.threads) {
        EXPECT_EQ(thread, QThread::currentThread());
    }
    EXPECT_TRUE(bus.Devices().empty());
}

}  // namespace
}  // namespace zv::sim
