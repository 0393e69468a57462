#pragma once

#include "platform/media/media_type.h"
#include "platform/status.h"

#include <memory>
#include <vector>

namespace zv {

namespace media {
class StreamConfig;
}

// The media types a pin offers, in capability order. An entry whose capability could not be
// read stays empty, and every reader skips empty entries.
using FormatList = std::vector<std::unique_ptr<media::MediaType>>;

// Reads every capability of `config` into `list` (one capability record buffer serves every
// call; the records themselves are not kept). The count query's failure is returned unchanged
// and leaves the list as it was.
Status ReadFormatList(const media::StreamConfig& config, FormatList* list);

// Frees every entry and leaves the list empty.
inline void FreeFormatList(FormatList& list) {
    FormatList().swap(list);
}

}  // namespace zv
