// Test main for units that need no display: a QCoreApplication for Qt's event loop and
// queued calls, then GoogleTest.
#include "support/thread_pool_under_tsan.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    zv::test::LimitThreadPoolUnderThreadSanitizer();
    return RUN_ALL_TESTS();
}
