#include "capture/pin_search.h"

#include "platform/media/filter.h"
#include "platform/media/media_guids.h"
#include "platform/media/pin.h"

namespace zv {

media::Pin* FindFirstOutputPin(const media::Filter& filter) {
    for (int i = 0; i < filter.PinCount(); ++i) {
        media::Pin* pin = filter.GetPin(i);
        if (pin->Direction() == media::PinDirection::kOutput) {
            return pin;
        }
    }
    return nullptr;
}

media::Pin* FindStillPin(const media::Filter& filter) {
    for (int i = 0; i < filter.PinCount(); ++i) {
        media::Pin* pin = filter.GetPin(i);
        Guid category;
        if (pin->QueryCategory(&category) == kOk && category == media::kPinCategoryStill) {
            return pin;
        }
    }
    return nullptr;
}

}  // namespace zv
