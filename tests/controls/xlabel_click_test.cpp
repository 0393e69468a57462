#include "controls/xlabel_fixture.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

#include <functional>
#include <string>

namespace zv {
namespace {

using namespace test;

// Receives what the desktop would open.
class UrlRecorder : public QObject {
    Q_OBJECT

public slots:
    void Open(const QUrl& url) { opened.append(url); }

public:
    QList<QUrl> opened;
};

struct ClickCase {
    const char* name;
    std::function<void(CXLabel&)> configure;
    Qt::MouseButton button;
    const char* opened;  // nullptr: nothing
    bool notified;
};

class XLabelClickTest : public XLabelTest, public testing::WithParamInterface<ClickCase> {
protected:
    void SetUp() override {
        for (const char* scheme : {"http", "https", "mailto", "file"}) {
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &recorder, "Open");
        }
        QObject::connect(label, &CXLabel::linkNotified, [this](int id, int code) {
            notifications.append({id, code});
        });
    }
    void TearDown() override {
        for (const char* scheme : {"http", "https", "mailto", "file"}) {
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
        }
    }
    bool Click(Qt::MouseButton button) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5),
                          label->mapToGlobal(QPointF(5, 5)), button, button, Qt::NoModifier);
        QCoreApplication::sendEvent(label, &press);
        return press.isAccepted();
    }

    UrlRecorder recorder;
    QList<std::pair<int, int>> notifications;
};

TEST_P(XLabelClickTest, ClickOpensOrNotifiesAsTheLinkSays) {
    const ClickCase& test = GetParam();
    label->PreSubclassWindow(1012, CXLabel::kSsCenter);
    test.configure(*label);
    const bool accepted = Click(test.button);
    if (test.opened) {
        ASSERT_EQ(recorder.opened.size(), 1);
        EXPECT_EQ(recorder.opened.front().toString().toStdString(), test.opened);
    } else {
        EXPECT_TRUE(recorder.opened.isEmpty());
    }
    if (test.notified) {
        ASSERT_EQ(notifications.size(), 1);
        EXPECT_EQ(notifications.front(), std::make_pair(1012, CXLabel::kLinkClickCode));
        EXPECT_EQ(notifications.front().second, 0x8200);
    } else {
        EXPECT_TRUE(notifications.isEmpty());
    }
    // A label that takes no clicks lets them through to its parent.
    EXPECT_EQ(accepted,
              (label->Style() & CXLabel::kSsNotify) != 0 && test.button == Qt::LeftButton);
}

INSTANTIATE_TEST_SUITE_P(
    Table, XLabelClickTest,
    testing::Values(
        ClickCase{"WebLinkOpensItsText",
                  [](CXLabel& l) { l.SetText(u"zevuvora.example"_qs).SetWebLink(true); },
                  Qt::LeftButton, "http://zevuvora.example", false},
        ClickCase{"WebLinkOpensItsTarget",
                  [](CXLabel& l) {
                      l.SetText(u"Help"_qs)
                          .SetLinkTarget(u"https://zevuvora.example/help"_qs)
                          .SetWebLink(true);
                  },
                  Qt::LeftButton, "https://zevuvora.example/help", false},
        ClickCase{
            "MailLinkOpensMailto",
            [](CXLabel& l) {
                l.SetText(u"someone"_qs).SetLinkTarget(u"https://x.example"_qs).SetMailtoLink(true);
            },
            Qt::LeftButton, "mailto:someone", false},
        ClickCase{"NotifyingWebLinkOnlyNotifies",
                  [](CXLabel& l) { l.SetText(u"https://zevuvora.example"_qs).SetWebLink(true, 1); },
                  Qt::LeftButton, nullptr, true},
        ClickCase{"NotifyingMailLinkOnlyNotifies",
                  [](CXLabel& l) { l.SetText(u"someone"_qs).SetMailtoLink(true, 0x55); },
                  Qt::LeftButton, nullptr, true},
        ClickCase{"NoLinkTakesNoClick",
                  [](CXLabel& l) { l.SetText(u"https://zevuvora.example"_qs); }, Qt::LeftButton,
                  nullptr, false},
        ClickCase{
            "NotifyWithoutLinkTakesNoClick",
            [](CXLabel& l) { l.SetText(u"https://zevuvora.example"_qs).SetWebLink(false, 1); },
            Qt::LeftButton, nullptr, false},
        ClickCase{"RightButtonOpensNothing",
                  [](CXLabel& l) { l.SetText(u"zevuvora.example"_qs).SetWebLink(true); },
                  Qt::RightButton, nullptr, false},
        ClickCase{"WebLinkNeverOpensALocalFile",
                  [](CXLabel& l) { l.SetText(u"/usr/bin/xterm"_qs).SetWebLink(true); },
                  Qt::LeftButton, nullptr, false}),
    [](const testing::TestParamInfo<ClickCase>& caseInfo) {
        return std::string(caseInfo.param.name);
    });

}  // namespace
}  // namespace zv

#include "xlabel_click_test.moc"
