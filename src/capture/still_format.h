#pragma once

namespace zv {

// Width and height of the still pin's current format: written on the GUI thread when capture
// starts, read by the save of each still frame.
struct StillFormat {
    int width = 0;
    int height = 0;
};

}  // namespace zv
