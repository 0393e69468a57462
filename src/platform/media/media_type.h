#pragma once

#include "platform/guid.h"

#include <cstdint>
#include <vector>

namespace zv::media {

// A media type: major type, subtype, format type and the format block as raw bytes. The block
// is kept exactly as given, so a whole VideoInfo block (88 bytes) and a shorter one are both
// representable; video_info.h builds and reads the blocks. A value type: a type handed out by a
// pin is the caller's copy. Any thread (no shared state).
class MediaType {
public:
    MediaType() = default;
    MediaType(const Guid& majorType, const Guid& subtype, const Guid& formatType,
              std::vector<std::uint8_t> format = {});

    const Guid& MajorType() const { return m_majorType; }
    const Guid& Subtype() const { return m_subtype; }
    const Guid& FormatType() const { return m_formatType; }
    const std::vector<std::uint8_t>& Format() const { return m_format; }
    // cbFormat: the block's size in bytes.
    std::uint32_t FormatSize() const { return static_cast<std::uint32_t>(m_format.size()); }

    void SetFormat(const Guid& formatType, std::vector<std::uint8_t> format);

    friend bool operator==(const MediaType&, const MediaType&) = default;

private:
    Guid m_majorType;
    Guid m_subtype;
    Guid m_formatType;
    std::vector<std::uint8_t> m_format;
};

}  // namespace zv::media
