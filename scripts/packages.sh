# Package lists shared by run.sh, test.sh and bench/run.sh (sourced, not run).
# shellcheck shell=bash
ZV_BUILD_PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev libgl-dev libturbojpeg0-dev libjpeg62-turbo-dev libudev-dev libusb-1.0-0-dev libexif-dev
    fonts-dejavu-core fonts-wqy-microhei
)
ZV_TEST_PACKAGES=(
    libgtest-dev libgmock-dev desktop-file-utils
    # the uvcbench VM of the real-driver tests (../shared/uvcbench) and their image check
    qemu-system-x86 busybox-static cpio libjpeg-turbo-progs xz-utils imagemagick
)
# bench/run.sh and bench/compare.sh: Google Benchmark and the peers the save path is measured against
ZV_BENCH_PACKAGES=(libbenchmark-dev imagemagick libvips-dev)
