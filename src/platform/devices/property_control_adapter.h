#pragma once

#include "platform/status.h"

#include <cstdint>
#include <utility>

namespace zv::devices {

// A picture-property interface (VideoProcAmp or CameraControl) answered by a backend object with
// the same three calls: the simulated property store (held by reference) or the V4L2 control
// set (held by value). A backend whose write hands back the value it keeps (SetAndRead) answers
// that call too. The thread rules are the interface's.
template <class Interface, class Backend>
class PropertyControlAdapter final : public Interface {
public:
    template <class... Args>
    explicit PropertyControlAdapter(Args&&... args) : m_backend(std::forward<Args>(args)...) {}

    Status GetRange(int property, std::int32_t* minimum, std::int32_t* maximum,
                    std::int32_t* steppingDelta, std::int32_t* defaultValue,
                    std::int32_t* capsFlags) override {
        return m_backend.GetRange(property, minimum, maximum, steppingDelta, defaultValue,
                                  capsFlags);
    }
    Status Set(int property, std::int32_t value, std::int32_t flags) override {
        return m_backend.Set(property, value, flags);
    }
    Status Get(int property, std::int32_t* value, std::int32_t* flags) override {
        return m_backend.Get(property, value, flags);
    }
    Status SetAndRead(int property, std::int32_t value, std::int32_t flags,
                      std::int32_t* held) override {
        if constexpr (requires { m_backend.SetAndRead(property, value, flags, held); }) {
            return m_backend.SetAndRead(property, value, flags, held);
        } else {
            return Interface::SetAndRead(property, value, flags, held);
        }
    }

private:
    Backend m_backend;
};

}  // namespace zv::devices
