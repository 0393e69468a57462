#include "resources/built_in_resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be expanded outside any namespace.
static void RegisterArtwork() {
    Q_INIT_RESOURCE(resources);
}

namespace zv {

void LoadBuiltInResources() {
    RegisterArtwork();
}

}  // namespace zv
