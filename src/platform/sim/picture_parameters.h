#pragma once

#include <array>
#include <cstdint>
#include <mutex>

namespace zv::sim {

// The simulated scanner's picture settings, as its property interfaces write them.
enum class PictureProperty {
    kBrightness,
    kContrast,
    kSaturation,
    kGamma,
    kRedLevel,
    kGreenLevel,
    kBlueLevel,
    kFilmType,
};
inline constexpr int kPicturePropertyCount = 8;

// Range of one property as the device reports it.
struct PropertyRange {
    int minimum;
    int maximum;
    int step;
    int defaultValue;
};

// One consistent set of values; `generation` changes with every change of a value.
struct PictureSettings {
    std::array<int, kPicturePropertyCount> values{};
    std::uint64_t generation = 0;
    int Get(PictureProperty property) const { return values[static_cast<std::size_t>(property)]; }
};

// The thread-safe parameter set of the simulated scanner: written by its property interfaces
// on the GUI thread, read as a whole by the streaming threads for every frame they render.
class PictureParameters {
public:
    PictureParameters();

    static PropertyRange Range(PictureProperty property);

    // kOk, or kInvalidArg (value untouched) outside the property's range.
    std::int32_t Set(PictureProperty property, int value);
    int Get(PictureProperty property) const;
    PictureSettings Snapshot() const;
    // Every property back to its default.
    void Reset();

private:
    // Protects m_settings.
    mutable std::mutex m_mutex;
    PictureSettings m_settings;
};

}  // namespace zv::sim
