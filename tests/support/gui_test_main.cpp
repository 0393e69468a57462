// Test main for widget tests: a QApplication on the offscreen platform (no display needed),
// then GoogleTest.
#include "support/thread_pool_under_tsan.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    zv::test::LimitThreadPoolUnderThreadSanitizer();
    return RUN_ALL_TESTS();
}
