#include "platform/media/media_type.h"

#include <utility>

namespace zv::media {

MediaType::MediaType(const Guid& majorType, const Guid& subtype, const Guid& formatType,
                     std::vector<std::uint8_t> format)
    : m_majorType(majorType),
      m_subtype(subtype),
      m_formatType(formatType),
      m_format(std::move(format)) {}

void MediaType::SetFormat(const Guid& formatType, std::vector<std::uint8_t> format) {
    m_formatType = formatType;
    m_format = std::move(format);
}

}  // namespace zv::media
