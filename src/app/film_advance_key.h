#pragma once

#include <functional>
#include <memory>

class QWidget;

namespace zv {

namespace devices {
class DeviceBackend;
}

// With the simulated device bus: moves the film of every simulated scanner on by one frame. An
// empty function on real hardware. The bus is held weakly: the caller may outlive it.
std::function<void()> SimulatedFilmAdvance(const std::shared_ptr<devices::DeviceBackend>& devices);

// With the simulated device bus: the N key in `window` moves the film of every simulated scanner
// on by one frame. Does nothing on real hardware. GUI thread; the shortcut is owned by `window`.
void InstallFilmAdvanceKey(QWidget& window, const std::shared_ptr<devices::DeviceBackend>& devices);

}  // namespace zv
