#include "session/scan_description.h"

#include "session/scan_naming.h"

#include <array>

namespace zv {

namespace {

constexpr std::array<const char*, 3> kFilmTypeWords = {"Slide film", "Negative film",
                                                       "Black-and-white film"};

}  // namespace

QString FilmDescription(int filmType, int filmSizeIndex, QSize output) {
    const QString film = filmType >= 0 && filmType < static_cast<int>(kFilmTypeWords.size())
                             ? QString::fromLatin1(kFilmTypeWords[filmType])
                             : QStringLiteral("Film");
    return QStringLiteral("%1, %2, %3x%4")
        .arg(film, FilmSizeName(filmSizeIndex))
        .arg(output.width())
        .arg(output.height());
}

QString AdjustmentsComment(const ScanAdjustments& adjustments) {
    return QStringLiteral("Saturation %1, Brightness %2, Contrast %3, R %4, G %5, B %6, Gamma %7")
        .arg(adjustments.saturation)
        .arg(adjustments.brightness)
        .arg(adjustments.contrast)
        .arg(adjustments.red)
        .arg(adjustments.green)
        .arg(adjustments.blue)
        .arg(adjustments.gamma);
}

ScanMetadata DescribeScan(const SaveSettings& settings, const QDateTime& scanned) {
    const QSize output = OutputSize(settings.filmSizeIndex, settings.resolutionIndex);
    const QSize dpi = DotsPerInch(settings.filmSizeIndex, settings.resolutionIndex);
    ScanMetadata metadata;
    metadata.scanned = scanned;
    metadata.make = settings.scannerMake;
    metadata.model = settings.scannerModel;
    metadata.software = QStringLiteral("zevuvora " ZEVUVORA_VERSION);
    metadata.description = FilmDescription(settings.filmType, settings.filmSizeIndex, output);
    metadata.userComment = AdjustmentsComment(settings.adjustments);
    metadata.dotsPerInchX = dpi.width();
    metadata.dotsPerInchY = dpi.height();
    return metadata;
}

}  // namespace zv
