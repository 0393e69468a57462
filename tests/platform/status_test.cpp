#include "platform/status.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace zv {
namespace {

struct TextCase {
    Status status;
    const char* text;
};

class StatusTextTable : public testing::TestWithParam<TextCase> {};

TEST_P(StatusTextTable, NamesTheCodeAndWhatItMeans) {
    EXPECT_EQ(StatusText(GetParam().status).toStdString(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, StatusTextTable,
    testing::Values(TextCase{kOk, "0x00000000"},
                    TextCase{kInvalidArg, "0x80070057 (invalid argument)"},
                    TextCase{kSharingViolation, "0x80070020 (device is in use by another program)"},
                    TextCase{StatusFromErrno(ENOSPC), "0x8007001c (No space left on device)"},
                    TextCase{StatusFromErrno(EEXIST), "0x80070011 (File exists)"},
                    TextCase{kFail, "0x80004005 (unspecified failure)"}));

}  // namespace
}  // namespace zv
