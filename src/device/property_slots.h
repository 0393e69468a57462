#pragma once

#include "device/adjustment_change.h"
#include "device/property_slot.h"
#include "platform/devices/camera_control.h"
#include "platform/devices/video_proc_amp.h"
#include "platform/status.h"

#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>

namespace zv {

namespace media {
class Filter;
}

// The two slot tables: one slot per property index of the device's processing unit
// (VideoProcAmp) and of its camera terminal (CameraControl).
enum class SlotTable { kVideo, kCamera };

// Where a slot sits: its table and its position, which is the property index of every device
// call made for it.
struct SlotRef {
    SlotTable table = SlotTable::kVideo;
    int index = 0;
    friend bool operator==(const SlotRef&, const SlotRef&) = default;
};

// The scanner window's property slots: the video and camera tables with their fixed bindings to
// the window's controls, the scanner's two property interfaces they are read from and written
// to, and the record of what changed that the window has yet to show (the window's binder
// writes it to the controls; nothing here touches a widget).
// The window owns one for its whole life; the slots survive a disconnection and are read afresh
// at every connection. GUI thread only: the film type a save needs is handed to the streaming
// side by the window, from FilmType(), in its save settings.
class PropertySlots {
public:
    static constexpr int kVideoSlotCount = devices::kVideoProcAmpPropertyCount;
    static constexpr int kCameraSlotCount = devices::kCameraControlPropertyCount;
    // The camera slot that holds the film type (CameraControl roll): 0 slide, 1 negative,
    // 2 black and white.
    static constexpr int kFilmTypeSlot = devices::kCameraControlRoll;
    // The slider page step of every slider slot.
    static constexpr std::int32_t kSliderPageSize = 10;

    PropertySlots();
    ~PropertySlots();
    PropertySlots(const PropertySlots&) = delete;
    PropertySlots& operator=(const PropertySlots&) = delete;

    // Takes the scanner's two property interfaces from its filter and reads every enabled slot
    // from them, then notes Default when every adjustment is at its default and Custom
    // otherwise. kFail without a filter (nothing changes). When the filter lacks an interface,
    // that query's status is returned, but the other table is still read and the lacking
    // table's slots become unsupported. kOk otherwise.
    Status LoadPropertySlots(const std::shared_ptr<media::Filter>& scannerFilter);
    // The same with interfaces already obtained; either may be empty (kNoInterface is returned
    // then, after loading what there is).
    Status LoadPropertySlots(std::shared_ptr<devices::VideoProcAmp> videoProcAmp,
                             std::shared_ptr<devices::CameraControl> cameraControl);
    // Empties both interfaces (the scanner is going); the slots keep their content.
    void ReleaseInterfaces();
    bool HasVideoProcAmp() const { return m_videoProcAmp != nullptr; }
    bool HasCameraControl() const { return m_cameraControl != nullptr; }

    // Notes the slot, as it stands now, among the changes to show.
    void ShowSlot(SlotRef ref);
    // Every slot of the video table, then of the camera table, in index order.
    void ShowAllSlots();
    // Notes any other change to show (a value text, a mark).
    void Note(AdjustmentChange change) { m_changes.push_back(std::move(change)); }
    // What changed since the last call, in order; the record starts empty again.
    [[nodiscard]] AdjustmentChanges TakeChanges() { return std::exchange(m_changes, {}); }

    // `index` must lie within the table.
    PropertySlot& Slot(SlotTable table, int index);
    const PropertySlot& Slot(SlotTable table, int index) const;
    PropertySlot& Slot(SlotRef ref) { return Slot(ref.table, ref.index); }
    static int SlotCount(SlotTable table);
    // The enabled slider slot bound to this slider id, if any.
    std::optional<SlotRef> FindSliderSlot(int sliderId) const;

    // The film type in effect: the film type slot's value.
    int FilmType() const { return m_cameraSlots[kFilmTypeSlot].value; }

    // Writes the slot's value and flags to its device property; on success the slot takes the
    // value the device holds afterwards (it may round or clamp). The device's status, or kFalse
    // when the table's interface is empty and nothing was written.
    Status WriteSlot(SlotRef ref);
    // Reads the device property's value and flags into the slot; on failure (or kFalse: no
    // interface) the slot is left as it was.
    Status ReadSlot(SlotRef ref);
    // Why an unsupported slot's property cannot be used although the device has it, as its
    // interface tells (empty for a supported slot, or when there is nothing to tell).
    QString UnavailableReason(SlotRef ref) const;

private:
    void BindSlots();
    // Reads one enabled slot; clears `allDefault` for an adjustment away from its default.
    void LoadSlot(SlotRef ref, devices::PropertyControl* device, bool* allDefault);
    devices::PropertyControl* Interface(SlotTable table) const;

    std::shared_ptr<devices::VideoProcAmp> m_videoProcAmp;
    std::shared_ptr<devices::CameraControl> m_cameraControl;
    std::array<PropertySlot, kVideoSlotCount> m_videoSlots{};
    std::array<PropertySlot, kCameraSlotCount> m_cameraSlots{};
    AdjustmentChanges m_changes;
};

}  // namespace zv
