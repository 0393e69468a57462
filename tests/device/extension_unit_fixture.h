#pragma once

#include "device/extension_unit.h"
#include "device/recording_pause.h"
#include "platform/devices/ks_property.h"
#include "platform/sim/sim_device_filter.h"

#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <vector>

namespace zv::test {

inline constexpr std::uint32_t kGetSet = devices::kKsPropertyTypeGet | devices::kKsPropertyTypeSet;

inline sim::SimSelectorConfig Selector(std::uint32_t number, std::uint32_t access,
                                       std::uint32_t size, std::vector<std::uint8_t> value = {}) {
    sim::SimSelectorConfig selector;
    selector.number = number;
    selector.access = access;
    selector.size = size;
    selector.value = std::move(value);
    return selector;
}

inline sim::SimExtensionUnitConfig Unit(std::vector<sim::SimSelectorConfig> selectors) {
    sim::SimExtensionUnitConfig unit;
    unit.answersIdentification = false;
    unit.selectors = std::move(selectors);
    return unit;
}

// A device with these extension units and nothing else of interest.
inline std::shared_ptr<sim::SimDeviceFilter> Device(
    std::vector<sim::SimExtensionUnitConfig> units) {
    sim::SimDeviceConfig config = sim::ScannerDevice();
    config.extensionUnits = std::move(units);
    return sim::SimDeviceFilter::Create(std::move(config));
}

inline std::vector<sim::SimKsRequest> RequestsWith(const sim::SimDeviceFilter& device,
                                                   std::uint32_t flags) {
    std::vector<sim::SimKsRequest> found;
    for (const sim::SimKsRequest& request : device.KsRequests()) {
        if (request.flags == flags) {
            found.push_back(request);
        }
    }
    return found;
}

inline std::vector<std::uint32_t> Ids(const std::vector<sim::SimKsRequest>& requests) {
    std::vector<std::uint32_t> ids;
    for (const sim::SimKsRequest& request : requests) {
        ids.push_back(request.id);
    }
    return ids;
}

class ExtensionUnitTest : public testing::Test {
protected:
    Status Open(const std::shared_ptr<sim::SimDeviceFilter>& device) {
        OpenedExtensionUnit opened = OpenExtensionUnit(device, pause.Function());
        handle = std::move(opened.unit);
        return opened.status;
    }

    std::optional<ExtensionUnitHandle> handle;
    RecordingPause pause;
};

}  // namespace zv::test
