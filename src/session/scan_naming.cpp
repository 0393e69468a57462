#include "session/scan_naming.h"

#include <array>

namespace zv {
namespace {

constexpr std::array<const char*, 4> kFilmTypeNames = {"slide", "negative", "bw", ""};
constexpr std::array<const char*, 4> kFilmSizeNames = {"135", "126", "", ""};

// Width and height by film size index x 4 + resolution index; rows 2 and 3 (110, S8) are never
// offered and stay empty.
constexpr std::array<int, 16> kOutputWidths = {2592, 5184, 0, 0, 1497, 2995, 0, 0,
                                               0,    0,    0, 0, 0,    0,    0, 0};
constexpr std::array<int, 16> kOutputHeights = {1728, 3456, 0, 0, 1497, 2995, 0, 0,
                                                0,    0,    0, 0, 0,    0,    0, 0};

template <std::size_t N>
QString NameAt(const std::array<const char*, N>& names, int index) {
    return (index >= 0 && static_cast<std::size_t>(index) < N) ? QString::fromLatin1(names[index])
                                                               : QString();
}

}  // namespace

QString FilmTypeName(int filmType) {
    return NameAt(kFilmTypeNames, filmType);
}

QString FilmSizeName(int filmSizeIndex) {
    return NameAt(kFilmSizeNames, filmSizeIndex);
}

QString ResolutionName(int resolutionIndex) {
    return resolutionIndex == 0 ? QStringLiteral("5M") : QStringLiteral("16M");
}

QSize OutputSize(int filmSizeIndex, int resolutionIndex) {
    const int entry = filmSizeIndex * 4 + resolutionIndex;
    if (filmSizeIndex < 0 || resolutionIndex < 0 || resolutionIndex > 3 || entry >= 16) {
        return QSize();
    }
    return QSize(kOutputWidths[entry], kOutputHeights[entry]);
}

QSizeF FilmFrameMillimetres(int filmSizeIndex) {
    switch (filmSizeIndex) {
        case 0:
            return QSizeF(36, 24);
        case 1:
            return QSizeF(28, 28);
        default:
            return QSizeF();
    }
}

QSize DotsPerInch(int filmSizeIndex, int resolutionIndex) {
    constexpr double kMillimetresPerInch = 25.4;
    const QSize output = OutputSize(filmSizeIndex, resolutionIndex);
    const QSizeF film = FilmFrameMillimetres(filmSizeIndex);
    if (output.isEmpty() || film.isEmpty()) {
        return QSize();
    }
    return QSize(qRound(output.width() * kMillimetresPerInch / film.width()),
                 qRound(output.height() * kMillimetresPerInch / film.height()));
}

QString ScanFileName(const QString& folder, int filmType, int filmSizeIndex, int resolutionIndex,
                     const QDateTime& localTime) {
    const QDate date = localTime.date();
    const QTime time = localTime.time();
    return QString::asprintf(
        "%s/ZevuVora_%s_%s_%s_%04d%02d%02d_%02d%02d%02d%03d.jpg", qUtf8Printable(folder),
        qUtf8Printable(FilmTypeName(filmType)), qUtf8Printable(FilmSizeName(filmSizeIndex)),
        qUtf8Printable(ResolutionName(resolutionIndex)), date.year(), date.month(), date.day(),
        time.hour(), time.minute(), time.second(), time.msec());
}

}  // namespace zv
