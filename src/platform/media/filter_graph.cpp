#include "platform/media/filter_graph.h"

#include "platform/media/media_status.h"
#include "platform/media/media_type.h"
#include "platform/media/pin.h"
#include "platform/media/yuy2_decoder.h"

#include <algorithm>
#include <utility>

namespace zv::media {

namespace {

bool IsSource(const Filter& filter) {
    for (int i = 0; i < filter.PinCount(); ++i) {
        if (filter.GetPin(i)->Direction() == PinDirection::kInput) {
            return false;
        }
    }
    return true;
}

}  // namespace

FilterGraph::FilterGraph() = default;

FilterGraph::~FilterGraph() {
    Stop();
    for (const auto& filter : m_filters) {
        for (int i = 0; i < filter->PinCount(); ++i) {
            Unlink(*filter->GetPin(i));
        }
        filter->m_graph = nullptr;
        filter->m_name.clear();
    }
}

bool FilterGraph::NameInUse(const QString& name) const {
    return std::any_of(m_filters.begin(), m_filters.end(),
                       [&](const auto& filter) { return filter->Name() == name; });
}

Status FilterGraph::AddFilter(std::shared_ptr<Filter> filter, const QString& name) {
    if (!filter) {
        return kPointer;
    }
    if (filter->Graph() != nullptr) {
        return kInvalidArg;
    }
    if (m_state != FilterState::kStopped) {
        return kNotStopped;
    }
    QString unique = name.isEmpty() ? filter->KindName() : name;
    Status result = kOk;
    if (NameInUse(unique)) {
        int number = 1;
        while (
            NameInUse(QStringLiteral("%1 %2").arg(unique).arg(number, 4, 10, QLatin1Char('0')))) {
            ++number;
        }
        unique = QStringLiteral("%1 %2").arg(unique).arg(number, 4, 10, QLatin1Char('0'));
        result = kRenamedDuplicate;
    }
    filter->m_graph = this;
    filter->m_name = unique;
    m_filters.push_back(std::move(filter));
    return result;
}

void FilterGraph::Unlink(Pin& pin) {
    if (pin.m_peer != nullptr && pin.m_peer->m_peer == &pin) {
        pin.m_peer->m_peer = nullptr;
        pin.m_peer->m_connectionType = MediaType();
    }
    pin.m_peer = nullptr;
    pin.m_connectionType = MediaType();
}

Status FilterGraph::RemoveFilter(Filter& filter) {
    const auto found = std::find_if(m_filters.begin(), m_filters.end(),
                                    [&](const auto& member) { return member.get() == &filter; });
    if (found == m_filters.end()) {
        return kFilterNotFound;
    }
    if (m_state != FilterState::kStopped) {
        return kNotStopped;
    }
    for (int i = 0; i < filter.PinCount(); ++i) {
        Unlink(*filter.GetPin(i));
    }
    filter.m_graph = nullptr;
    filter.m_name.clear();
    // The erase may drop the last reference: nothing touches `filter` afterwards.
    m_filters.erase(found);
    return kOk;
}

Status FilterGraph::FindFilterByName(const QString& name, std::shared_ptr<Filter>* filter) const {
    if (filter == nullptr) {
        return kPointer;
    }
    for (const auto& member : m_filters) {
        if (member->Name() == name) {
            *filter = member;
            return kOk;
        }
    }
    filter->reset();
    return kFilterNotFound;
}

Status FilterGraph::ConnectDirect(Pin& output, Pin& input, const MediaType* type) {
    if (!Contains(output.OwnerFilter()) || !Contains(input.OwnerFilter())) {
        return kNotInGraph;
    }
    if (m_state != FilterState::kStopped) {
        return kNotStopped;
    }
    if (output.Direction() != PinDirection::kOutput || input.Direction() != PinDirection::kInput) {
        return kInvalidDirection;
    }
    if (output.IsConnected() || input.IsConnected()) {
        return kAlreadyConnected;
    }
    MediaType proposed;
    if (type != nullptr) {
        proposed = *type;
    } else if (const Status status = output.ProposedType(&proposed); Failed(status)) {
        return status;
    }
    if (Failed(input.OwnerFilter().CheckInputType(input, proposed))) {
        return kTypeNotAccepted;
    }
    output.m_peer = &input;
    input.m_peer = &output;
    output.m_connectionType = proposed;
    input.m_connectionType = proposed;
    return kOk;
}

Status FilterGraph::Connect(Pin& output, Pin& input) {
    const Status direct = ConnectDirect(output, input);
    if (direct != kTypeNotAccepted) {
        return direct;
    }
    // The only conversion the graph knows: packed 4:2:2 to 32-bit RGB for the renderer.
    auto decoder = std::make_shared<Yuy2Decoder>();
    Filter& inserted = *decoder;
    MediaType offered;
    if (Failed(output.ProposedType(&offered)) ||
        Failed(inserted.CheckInputType(*inserted.GetPin(0), offered))) {
        return kCannotConnect;
    }
    if (Failed(AddFilter(std::move(decoder), QString()))) {
        return kCannotConnect;
    }
    Pin* decoderIn = inserted.FirstUnconnectedPin(PinDirection::kInput);
    Pin* decoderOut = inserted.FirstUnconnectedPin(PinDirection::kOutput);
    if (Failed(ConnectDirect(output, *decoderIn)) || Failed(ConnectDirect(*decoderOut, input))) {
        // The decoder was added just now; the failure to report is the connection's.
        IgnoreStatus(RemoveFilter(inserted));
        return kCannotConnect;
    }
    return kOk;
}

Status FilterGraph::Disconnect(Pin& pin) {
    if (!Contains(pin.OwnerFilter())) {
        return kNotInGraph;
    }
    if (m_state != FilterState::kStopped) {
        return kNotStopped;
    }
    if (pin.m_peer == nullptr) {
        return kFalse;
    }
    pin.m_peer = nullptr;
    pin.m_connectionType = MediaType();
    return kOk;
}

std::vector<Filter*> FilterGraph::RunOrder() const {
    std::vector<Filter*> order;
    for (const auto& filter : m_filters) {
        if (!IsSource(*filter)) {
            order.push_back(filter.get());
        }
    }
    for (const auto& filter : m_filters) {
        if (IsSource(*filter)) {
            order.push_back(filter.get());
        }
    }
    return order;
}

Status FilterGraph::Run() {
    if (m_state == FilterState::kRunning) {
        return kOk;
    }
    const std::vector<Filter*> order = RunOrder();
    bool pending = false;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const Status status = order[i]->Run();
        if (Failed(status)) {
            for (std::size_t j = i; j-- > 0;) {
                // Undoing a partial run: the run's failure is the one reported.
                order[j]->Stop();
            }
            order[i]->Stop();
            return status;
        }
        pending = pending || status == kFalse;
    }
    m_state = FilterState::kRunning;
    return pending ? kFalse : kOk;
}

void FilterGraph::Stop() {
    std::vector<Filter*> order = RunOrder();
    std::reverse(order.begin(), order.end());
    for (Filter* filter : order) {
        filter->Stop();
    }
    m_state = FilterState::kStopped;
}

Status FilterGraph::GetState(std::chrono::milliseconds timeout, FilterState* state) const {
    if (state == nullptr) {
        return kPointer;
    }
    *state = m_state;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    Status result = kOk;
    for (const auto& filter : m_filters) {
        const auto left = std::max(std::chrono::milliseconds(0),
                                   std::chrono::duration_cast<std::chrono::milliseconds>(
                                       deadline - std::chrono::steady_clock::now()));
        FilterState filterState = FilterState::kStopped;
        const Status status = filter->GetState(left, &filterState);
        if (Failed(status)) {
            return status;
        }
        if (status == kStateIntermediate) {
            result = kStateIntermediate;
        }
    }
    return result;
}

}  // namespace zv::media
