#include "imaging/exif_block.h"

#include <cstdlib>
#include <cstring>
#include <libexif/exif-data.h>

namespace zv {

namespace {

constexpr ExifByteOrder kOrder = EXIF_BYTE_ORDER_INTEL;
constexpr ExifShort kOrientationTopLeft = 1;
constexpr ExifShort kResolutionUnitInches = 2;
// UserComment starts with the code of its character set.
constexpr char kAsciiCode[8] = {'A', 'S', 'C', 'I', 'I', 0, 0, 0};

// The block being built: the data and the allocator its entries take their memory from. Owns a
// reference to each.
class Builder {
public:
    Builder() : m_mem(exif_mem_new_default()), m_data(exif_data_new_mem(m_mem)) {}
    ~Builder() {
        if (m_data != nullptr) {
            exif_data_unref(m_data);
        }
        if (m_mem != nullptr) {
            exif_mem_unref(m_mem);
        }
    }
    Builder(const Builder&) = delete;
    Builder& operator=(const Builder&) = delete;

    ExifMem* Mem() const { return m_mem; }
    ExifData* Data() const { return m_data; }

private:
    ExifMem* m_mem;
    ExifData* m_data;
};

// Adds an entry of `format` with room for `components` values; null when out of memory. The
// content holds the entry's only reference.
ExifEntry* AddEntry(const Builder& block, ExifIfd ifd, ExifTag tag, ExifFormat format,
                    unsigned long components) {
    ExifMem* const mem = block.Mem();
    ExifEntry* entry = exif_entry_new_mem(mem);
    if (entry == nullptr) {
        return nullptr;
    }
    const unsigned int size = exif_format_get_size(format) * components;
    entry->data = static_cast<unsigned char*>(exif_mem_alloc(mem, size));
    if (entry->data == nullptr) {
        exif_entry_unref(entry);
        return nullptr;
    }
    entry->tag = tag;
    entry->format = format;
    entry->components = components;
    entry->size = size;
    exif_content_add_entry(block.Data()->ifd[ifd], entry);
    exif_entry_unref(entry);
    return entry;
}

bool AddBytes(const Builder& block, ExifIfd ifd, ExifTag tag, ExifFormat format,
              const QByteArray& bytes) {
    ExifEntry* entry = AddEntry(block, ifd, tag, format, static_cast<unsigned long>(bytes.size()));
    if (entry != nullptr) {
        std::memcpy(entry->data, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    }
    return entry != nullptr;
}

// ASCII entries end in a NUL, which the count includes. Empty texts are left out.
bool AddText(const Builder& block, ExifIfd ifd, ExifTag tag, const QString& text) {
    if (text.isEmpty()) {
        return true;
    }
    const QByteArray bytes = text.toUtf8().left(ExifBlock::kMaxTextBytes);
    return AddBytes(block, ifd, tag, EXIF_FORMAT_ASCII, bytes + '\0');
}

bool AddShort(const Builder& block, ExifIfd ifd, ExifTag tag, ExifShort value) {
    ExifEntry* entry = AddEntry(block, ifd, tag, EXIF_FORMAT_SHORT, 1);
    if (entry != nullptr) {
        exif_set_short(entry->data, kOrder, value);
    }
    return entry != nullptr;
}

bool AddWholeRational(const Builder& block, ExifIfd ifd, ExifTag tag, int value) {
    ExifEntry* entry = AddEntry(block, ifd, tag, EXIF_FORMAT_RATIONAL, 1);
    if (entry != nullptr) {
        exif_set_rational(entry->data, kOrder, ExifRational{static_cast<ExifLong>(value), 1});
    }
    return entry != nullptr;
}

// "+01:00": the offset from UTC as Exif writes it.
QString OffsetText(const QDateTime& time) {
    const int minutes = time.offsetFromUtc() / 60;
    const int magnitude = std::abs(minutes);
    return QString::asprintf("%c%02d:%02d", minutes < 0 ? '-' : '+', magnitude / 60,
                             magnitude % 60);
}

bool AddTimes(const Builder& block, const QDateTime& scanned) {
    if (!scanned.isValid()) {
        return true;
    }
    const QString when = scanned.toString(QStringLiteral("yyyy:MM:dd HH:mm:ss"));
    const QString offset = OffsetText(scanned);
    const QString milliseconds = scanned.toString(QStringLiteral("zzz"));
    return AddText(block, EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL, when) &&
           AddText(block, EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_DIGITIZED, when) &&
           AddText(block, EXIF_IFD_EXIF, EXIF_TAG_OFFSET_TIME_ORIGINAL, offset) &&
           AddText(block, EXIF_IFD_EXIF, EXIF_TAG_OFFSET_TIME_DIGITIZED, offset) &&
           AddText(block, EXIF_IFD_EXIF, EXIF_TAG_SUB_SEC_TIME_ORIGINAL, milliseconds) &&
           AddText(block, EXIF_IFD_EXIF, EXIF_TAG_SUB_SEC_TIME_DIGITIZED, milliseconds);
}

bool AddPictureIfd(const Builder& block, const ScanMetadata& metadata) {
    bool added = AddText(block, EXIF_IFD_0, EXIF_TAG_IMAGE_DESCRIPTION, metadata.description) &&
                 AddText(block, EXIF_IFD_0, EXIF_TAG_MAKE, metadata.make) &&
                 AddText(block, EXIF_IFD_0, EXIF_TAG_MODEL, metadata.model) &&
                 AddShort(block, EXIF_IFD_0, EXIF_TAG_ORIENTATION, kOrientationTopLeft);
    if (added && metadata.dotsPerInchX > 0 && metadata.dotsPerInchY > 0) {
        added = AddWholeRational(block, EXIF_IFD_0, EXIF_TAG_X_RESOLUTION, metadata.dotsPerInchX) &&
                AddWholeRational(block, EXIF_IFD_0, EXIF_TAG_Y_RESOLUTION, metadata.dotsPerInchY) &&
                AddShort(block, EXIF_IFD_0, EXIF_TAG_RESOLUTION_UNIT, kResolutionUnitInches);
    }
    return added && AddText(block, EXIF_IFD_0, EXIF_TAG_SOFTWARE, metadata.software);
}

bool AddExifIfd(const Builder& block, const ScanMetadata& metadata) {
    bool added = AddBytes(block, EXIF_IFD_EXIF, EXIF_TAG_EXIF_VERSION, EXIF_FORMAT_UNDEFINED,
                          QByteArrayLiteral("0232")) &&
                 AddTimes(block, metadata.scanned);
    if (added && !metadata.userComment.isEmpty()) {
        const QByteArray text = metadata.userComment.toUtf8().left(ExifBlock::kMaxTextBytes);
        added = AddBytes(block, EXIF_IFD_EXIF, EXIF_TAG_USER_COMMENT, EXIF_FORMAT_UNDEFINED,
                         QByteArray(kAsciiCode, sizeof(kAsciiCode)) + text);
    }
    return added;
}

}  // namespace

QByteArray ExifBlock::Build(const ScanMetadata& metadata) {
    const Builder block;
    if (block.Data() == nullptr) {
        return {};
    }
    exif_data_set_byte_order(block.Data(), kOrder);
    exif_data_set_data_type(block.Data(), EXIF_DATA_TYPE_COMPRESSED);
    if (!AddPictureIfd(block, metadata) || !AddExifIfd(block, metadata)) {
        return {};
    }
    unsigned char* bytes = nullptr;
    unsigned int size = 0;
    exif_data_save_data(block.Data(), &bytes, &size);
    QByteArray saved;
    if (bytes != nullptr && size <= static_cast<unsigned int>(kMaxSize)) {
        saved = QByteArray(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
    }
    exif_mem_free(block.Mem(), bytes);
    return saved;
}

}  // namespace zv
