#pragma once

#include "capture/still_format.h"

#include <QString>

namespace zv {

// The adjustment values as last written to the scanner (its property values).
struct ScanAdjustments {
    int saturation = 0;
    int brightness = 0;
    int contrast = 0;
    int red = 0;
    int green = 0;
    int blue = 0;
    int gamma = 0;
};

// What a save reads: published as one consistent value by the GUI thread whenever any of it
// changes, read by the streaming thread that saves a still frame.
struct SaveSettings {
    QString saveFolder;
    // The folder is the default one: missing parents are created too. A folder the user chose
    // or typed gets only its last level created (a missing parent may be an unmounted drive).
    bool defaultFolder = false;
    int filmType = 0;
    int filmSizeIndex = 0;
    int resolutionIndex = 0;
    StillFormat still;
    // The connected scanner's USB manufacturer and product strings.
    QString scannerMake;
    QString scannerModel;
    ScanAdjustments adjustments;
};

}  // namespace zv
