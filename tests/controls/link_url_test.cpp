#include "controls/link_url.h"

#include <gtest/gtest.h>

namespace zv {
namespace {

struct LinkCase {
    const char* name;
    LabelLinkKind kind;
    const char16_t* target;
    const char16_t* text;
    const char* expected;  // nullptr: nothing is opened
};

class LabelLinkUrlTest : public testing::TestWithParam<LinkCase> {};

TEST_P(LabelLinkUrlTest, OpensWhatTheLinkNamesAndNothingUnsafe) {
    const LinkCase& test = GetParam();
    const std::optional<QUrl> url =
        LabelLinkUrl(test.kind, QString::fromUtf16(test.target), QString::fromUtf16(test.text));
    if (test.expected == nullptr) {
        EXPECT_FALSE(url.has_value()) << url->toString().toStdString();
        return;
    }
    ASSERT_TRUE(url.has_value());
    EXPECT_EQ(url->toString(QUrl::FullyEncoded).toStdString(), test.expected);
}

using enum LabelLinkKind;

INSTANTIATE_TEST_SUITE_P(
    Table, LabelLinkUrlTest,
    testing::Values(
        LinkCase{"web_text", kWeb, u"", u"https://zevuvora.example/help",
                 "https://zevuvora.example/help"},
        LinkCase{"web_bare_host", kWeb, u"", u"zevuvora.example", "http://zevuvora.example"},
        LinkCase{"web_target_wins", kWeb, u"http://target.example/a b", u"https://text.example",
                 "http://target.example/a%20b"},
        LinkCase{"web_trimmed", kWeb, u"", u"  https://zevuvora.example/ ",
                 "https://zevuvora.example/"},
        LinkCase{"web_empty", kWeb, u"", u"", nullptr},
        LinkCase{"web_blank", kWeb, u"", u"   ", nullptr},
        LinkCase{"web_local_path", kWeb, u"", u"/usr/bin/xterm", nullptr},
        LinkCase{"web_file_url", kWeb, u"file:///etc/passwd", u"x", nullptr},
        LinkCase{"web_desktop_file", kWeb, u"", u"/tmp/evil.desktop", nullptr},
        LinkCase{"web_other_scheme", kWeb, u"", u"javascript:alert(1)", nullptr},
        LinkCase{"web_network_share", kWeb, u"", u"smb://server/share", nullptr},
        LinkCase{"web_ftp", kWeb, u"ftp://ftp.zevuvora.example/scans", u"x", nullptr},
        LinkCase{"web_mailto_target", kWeb, u"mailto:a@b.example", u"x", nullptr},
        LinkCase{"mail_word", kMail, u"", u"someone", "mailto:someone"},
        LinkCase{"mail_address", kMail, u"", u"scans@zevuvora.example",
                 "mailto:scans@zevuvora.example"},
        // The target belongs to web links only.
        LinkCase{"mail_ignores_target", kMail, u"https://x.example", u"someone", "mailto:someone"},
        LinkCase{"mail_no_headers", kMail, u"", u"a@b.example?attach=/etc/passwd",
                 "mailto:a@b.example%3Fattach=/etc/passwd"},
        LinkCase{"mail_no_fragment", kMail, u"", u"a@b.example#x", "mailto:a@b.example%23x"},
        LinkCase{"mail_empty", kMail, u"", u"", nullptr},
        LinkCase{"none", kNone, u"https://x.example", u"https://y.example", nullptr}),
    [](const testing::TestParamInfo<LinkCase>& caseInfo) {
        return std::string(caseInfo.param.name);
    });

}  // namespace
}  // namespace zv
