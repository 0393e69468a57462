#pragma once

// libjpeg (libjpeg-turbo) headers need <cstdio> first.
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace zv {

// libjpeg reports a fault by calling error_exit, which must not return. The trap turns every
// fault, and every warning that means missing or wrong pixels (a frame cut short or with corrupt
// data is only a warning to libjpeg), into a longjmp back to the setjmp of the libjpeg work in
// progress; warnings about headers or padding pass. Whoever calls setjmp(jump) must keep objects
// with destructors out of the frames between it and libjpeg.
struct JpegErrorTrap {
    jpeg_error_mgr manager;  // first: libjpeg hands back a pointer to it as the whole trap
    std::jmp_buf jump;

    // Points info->err at the trap.
    void Install(j_common_ptr info);

    // A warning (libjpeg's message code) after which every pixel is still decoded right.
    static bool IsHarmless(int messageCode);
};

}  // namespace zv
