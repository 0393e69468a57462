#include "platform/sim/picture_parameters.h"

#include "platform/status.h"

namespace zv::sim {

namespace {

// Ranges of the simulated device. Gamma is in hundredths (300 = 3.0: the device's own curve;
// the film presets use 300 and 400); levels are gains in 128ths.
constexpr std::array<PropertyRange, kPicturePropertyCount> kRanges{{
    {-64, 64, 1, 0},     // brightness
    {0, 100, 1, 50},     // contrast
    {0, 100, 1, 50},     // saturation
    {100, 500, 1, 300},  // gamma
    {0, 255, 1, 128},    // red level
    {0, 255, 1, 128},    // green level
    {0, 255, 1, 128},    // blue level
    {0, 1, 1, 0},        // film type: 0 positive, 1 negative
}};

}  // namespace

PictureParameters::PictureParameters() {
    Reset();
}

PropertyRange PictureParameters::Range(PictureProperty property) {
    return kRanges[static_cast<std::size_t>(property)];
}

std::int32_t PictureParameters::Set(PictureProperty property, int value) {
    const PropertyRange range = Range(property);
    if (value < range.minimum || value > range.maximum) {
        return kInvalidArg;
    }
    std::lock_guard lock(m_mutex);
    auto& slot = m_settings.values[static_cast<std::size_t>(property)];
    if (slot != value) {
        slot = value;
        ++m_settings.generation;
    }
    return kOk;
}

int PictureParameters::Get(PictureProperty property) const {
    std::lock_guard lock(m_mutex);
    return m_settings.Get(property);
}

PictureSettings PictureParameters::Snapshot() const {
    std::lock_guard lock(m_mutex);
    return m_settings;
}

void PictureParameters::Reset() {
    std::lock_guard lock(m_mutex);
    for (std::size_t i = 0; i < kRanges.size(); ++i) {
        m_settings.values[i] = kRanges[i].defaultValue;
    }
    ++m_settings.generation;
}

}  // namespace zv::sim
