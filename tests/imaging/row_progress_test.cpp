#include "imaging/row_progress.h"

#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace zv {
namespace {

TEST(RowProgressTest, WaiterSeesEveryRowWrittenBeforeItWasPublished) {
    std::vector<int> rows(2000, 0);
    RowProgress progress;
    std::thread decoder([&] {
        for (int row = 0; row < 2000; row += 16) {
            for (int i = row; i < row + 16; ++i) {
                rows[i] = i + 1;
            }
            progress.Publish(row + 16);
        }
    });
    for (int wanted = 1; wanted <= 2000; wanted += 37) {
        ASSERT_TRUE(progress.WaitFor(wanted));
        ASSERT_EQ(rows[wanted - 1], wanted);
    }
    decoder.join();
}

TEST(RowProgressTest, FailureWakesTheWaiterAndKeepsTheFirstStatus) {
    RowProgress progress;
    progress.Publish(10);
    std::thread failing([&] {
        progress.Fail(kInvalidArg);
        progress.Fail(kFail);
    });
    EXPECT_FALSE(progress.WaitFor(11));
    failing.join();
    EXPECT_EQ(progress.Failure(), kInvalidArg);
    EXPECT_FALSE(progress.WaitFor(5)) << "a failed hand-off gives no more rows";
}

}  // namespace
}  // namespace zv
