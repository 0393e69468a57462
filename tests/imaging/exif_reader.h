#pragma once

// Reads an Exif block back as any viewer would: the TIFF structure by hand, just the types the
// writer uses, so that the tests check the bytes and not the library that wrote them.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <map>
#include <vector>

namespace zv::test {

class ExifReader {
public:
    enum Ifd { kPicture, kExif };

    // `payload` is an APP1 segment's payload, "Exif\0\0" first.
    explicit ExifReader(const QByteArray& payload) {
        if (!payload.startsWith(QByteArray("Exif\0\0", 6)) || payload.size() < 14) {
            return;
        }
        m_tiff = payload.mid(6);
        m_intel = m_tiff.startsWith("II");
        if (!m_intel && !m_tiff.startsWith("MM")) {
            return;
        }
        m_valid = Number(2, 2) == 42 && ReadIfd(kPicture, Number(4, 4));
        const auto pointer = m_fields[kPicture].find(kExifIfdPointer);
        if (m_valid && pointer != m_fields[kPicture].end()) {
            m_valid = ReadIfd(kExif, Number(0, 4, pointer->second.value));
        }
    }

    bool IsValid() const { return m_valid; }
    // Tags in the order the IFD lists them.
    const std::vector<int>& Tags(Ifd ifd) const { return m_order[ifd]; }

    // The value as text: ASCII without its NUL, SHORT and LONG in decimal, RATIONAL "n/d",
    // UNDEFINED as its bytes (NULs kept); "<missing>" or "<type N>" otherwise.
    QString Value(Ifd ifd, int tag) const {
        const auto found = m_fields[ifd].find(tag);
        if (found == m_fields[ifd].end()) {
            return QStringLiteral("<missing>");
        }
        const Field& field = found->second;
        switch (field.type) {
            case kAscii:
                return QString::fromUtf8(field.value.endsWith('\0') ? field.value.chopped(1)
                                                                    : field.value);
            case kShort:
            case kLong:
                return QString::number(Number(0, field.type == kShort ? 2 : 4, field.value));
            case kRational:
                return QStringLiteral("%1/%2")
                    .arg(Number(0, 4, field.value))
                    .arg(Number(4, 4, field.value));
            case kUndefined:
                return QString::fromLatin1(field.value);
            default:
                return QStringLiteral("<type %1>").arg(field.type);
        }
    }

private:
    static constexpr int kExifIfdPointer = 0x8769;
    enum Type { kAscii = 2, kShort = 3, kLong = 4, kRational = 5, kUndefined = 7 };
    struct Field {
        int type = 0;
        QByteArray value;
    };

    static int TypeSize(int type) {
        switch (type) {
            case kShort:
                return 2;
            case kLong:
                return 4;
            case kRational:
                return 8;
            default:
                return 1;
        }
    }

    std::uint32_t Number(qsizetype at, int bytes, const QByteArray& from) const {
        std::uint32_t value = 0;
        for (int i = 0; i < bytes; ++i) {
            const auto byte = static_cast<std::uint8_t>(from[at + (m_intel ? bytes - 1 - i : i)]);
            value = value << 8 | byte;
        }
        return value;
    }
    std::uint32_t Number(qsizetype at, int bytes) const { return Number(at, bytes, m_tiff); }

    bool ReadIfd(Ifd ifd, std::uint32_t offset) {
        if (offset + 2 > static_cast<std::uint32_t>(m_tiff.size())) {
            return false;
        }
        const std::uint32_t count = Number(offset, 2);
        for (std::uint32_t i = 0; i < count; ++i) {
            const qsizetype entry = offset + 2 + 12 * i;
            if (entry + 12 > m_tiff.size()) {
                return false;
            }
            Field field{static_cast<int>(Number(entry + 2, 2)), {}};
            const qsizetype size = qsizetype{TypeSize(field.type)} * Number(entry + 4, 4);
            const qsizetype at = size <= 4 ? entry + 8 : Number(entry + 8, 4);
            if (at + size > m_tiff.size()) {
                return false;
            }
            field.value = m_tiff.mid(at, size);
            const int tag = static_cast<int>(Number(entry, 2));
            m_fields[ifd][tag] = field;
            m_order[ifd].push_back(tag);
        }
        return true;
    }

    QByteArray m_tiff;
    bool m_intel = true;
    bool m_valid = false;
    std::map<int, Field> m_fields[2];
    std::vector<int> m_order[2];
};

}  // namespace zv::test
