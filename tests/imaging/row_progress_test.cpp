#include "imaging/row_progress.h"

#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace zv {
namespace {

TEST(RowProgressTest, WaiterSeesEveryRowWrittenBeforeItWasPublished) {
    constexpr int kRows = 2000;
    std::vector<int> rows(kRows, 0);
    RowProgress progress;
    std::thread decoder([&] {
        for (int row = 0; row < kRows; row += 16) {
            for (int i = row; i < row + 16; ++i) {
                rows[i] = i + 1;
            }
            progress.Publish(row + 16);
        }
    });
    for (int wanted = 1; wanted <= kRows; wanted += 37) {
        ASSERT_TRUE(progress.WaitFor(wanted));
        ASSERT_EQ(rows[wanted - 1], wanted);
    }
    decoder.join();
    EXPECT_EQ(progress.Failure(), kOk);
}

TEST(RowProgressTest, FailureWakesAWaiterAndKeepsTheFirstStatus) {
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
