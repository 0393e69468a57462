#pragma once

#include <memory>

class QWidget;

namespace zv {

namespace devices {
class DeviceBackend;
}

// With the simulated device bus: the N key in `window` moves the film of every simulated scanner
// on by one frame. Does nothing on real hardware. GUI thread; the shortcut is owned by `window`.
void InstallFilmAdvanceKey(QWidget& window, const std::shared_ptr<devices::DeviceBackend>& devices);

}  // namespace zv
