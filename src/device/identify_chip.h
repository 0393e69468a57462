#pragma once

#include "device/extension_unit_handle.h"

namespace zv {

// The chip identification exchange on an open extension unit: the identification command on the
// command selector, then the reply selector must answer "REALSIL" and its zero byte. When the
// write or the read fails, the command selector is read once and the recovery value written to
// it, whatever they answer. True only for the expected reply. GUI thread.
bool IdentifyChip(const ExtensionUnitHandle& handle);

}  // namespace zv
