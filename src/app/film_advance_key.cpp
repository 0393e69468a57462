#include "app/film_advance_key.h"

#include "platform/sim/sim_device_bus.h"
#include "platform/sim/sim_device_filter.h"

#include <QShortcut>
#include <QWidget>

namespace zv {

std::function<void()> SimulatedFilmAdvance(const std::shared_ptr<devices::DeviceBackend>& devices) {
    const auto bus = std::dynamic_pointer_cast<sim::SimDeviceBus>(devices);
    if (!bus) {
        return {};
    }
    return [weak = std::weak_ptr(bus)] {
        if (const auto alive = weak.lock()) {
            for (const auto& device : alive->Devices()) {
                device->Film().Advance();
            }
        }
    };
}

void InstallFilmAdvanceKey(QWidget& window,
                           const std::shared_ptr<devices::DeviceBackend>& devices) {
    auto advance = SimulatedFilmAdvance(devices);
    if (!advance) {
        return;
    }
    auto* key = new QShortcut(QKeySequence(Qt::Key_N), &window);
    QObject::connect(key, &QShortcut::activated, &window, std::move(advance));
}

}  // namespace zv
