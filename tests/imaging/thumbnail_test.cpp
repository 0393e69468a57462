#include "imaging/imaging_status.h"
#include "imaging/scratch_folder.h"
#include "imaging/thumbnail_maker.h"
#include "imaging/thumbnail_runner.h"
#include "support/jpeg_frame.h"
#include "support/wait.h"

#include <QCoreApplication>
#include <QThread>

#include <cerrno>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace zv {
namespace {

const QSize kBox(160, 120);

class ThumbnailTest : public testing::Test {
protected:
    static void SetUpTestSuite() { s_scan = new QByteArray(test::MakeJpegFrame(2592, 1728)); }
    static void TearDownTestSuite() {
        delete s_scan;
        s_scan = nullptr;
    }

    QString Put(const QString& name, const QByteArray& bytes) {
        QFile file(m_folder.FilePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    static QByteArray* s_scan;
    test::ScratchFolder m_folder;
};

QByteArray* ThumbnailTest::s_scan = nullptr;

TEST_F(ThumbnailTest, FitsTheBoxWithTheShapeKeptAndNeverEnlarges) {
    struct Case {
        QByteArray jpeg;
        QSize expected;
    };
    const std::vector<Case> cases{{*s_scan, {160, 106}},
                                  {test::MakeJpegFrame(1497, 1497), {120, 120}},
                                  {test::MakeJpegFrame(100, 50), {100, 50}}};
    for (const Case& c : cases) {
        const QString path = Put(QStringLiteral("scan.jpg"), c.jpeg);
        const Thumbnail thumbnail = MakeThumbnail(path, kBox);
        EXPECT_EQ(thumbnail.status, kOk);
        EXPECT_EQ(thumbnail.path, path);
        ASSERT_EQ(thumbnail.image.size(), c.expected);
        // The frame's red middle is in the middle of the thumbnail.
        const QRgb middle = thumbnail.image.pixel(c.expected.width() / 2, c.expected.height() / 2);
        EXPECT_GT(qRed(middle), 150);
        EXPECT_LT(qGreen(middle), 80);
    }
}

TEST_F(ThumbnailTest, SaysWhyNoThumbnailCouldBeMade) {
    struct Case {
        const char* name;
        QString path;
        QSize box;
        Status status;
    };
    ASSERT_TRUE(QDir(m_folder.Path()).mkdir(QStringLiteral("folder.jpg")));
    const std::vector<Case> cases{
        {"missing", m_folder.FilePath(QStringLiteral("gone.jpg")), kBox, StatusFromErrno(ENOENT)},
        {"folder", m_folder.FilePath(QStringLiteral("folder.jpg")), kBox, kBadImage},
        {"empty", Put(QStringLiteral("empty.jpg"), {}), kBox, kBadImage},
        {"text", Put(QStringLiteral("text.jpg"), "not a picture"), kBox, kBadImage},
        {"cutShort", Put(QStringLiteral("cut.jpg"), s_scan->left(s_scan->size() / 2)), kBox,
         kBadImage},
        {"noBox", Put(QStringLiteral("fine.jpg"), *s_scan), QSize(), kInvalidArg}};
    for (const Case& c : cases) {
        const Thumbnail thumbnail = MakeThumbnail(c.path, c.box);
        EXPECT_EQ(thumbnail.status, c.status) << c.name;
        EXPECT_TRUE(thumbnail.image.isNull()) << c.name;
    }
}

TEST_F(ThumbnailTest, RunnerDeliversOnItsOwnThreadInTheOrderAsked) {
    ThumbnailRunner runner(kBox);
    std::vector<Thumbnail> received;
    QObject::connect(&runner, &ThumbnailRunner::thumbnailReady, [&](const Thumbnail& thumbnail) {
        EXPECT_EQ(QThread::currentThread(), runner.thread());
        received.push_back(thumbnail);
    });
    runner.Request(Put(QStringLiteral("a.jpg"), *s_scan));
    runner.Request(m_folder.FilePath(QStringLiteral("gone.jpg")));
    ASSERT_TRUE(test::WaitUntil([&] { return received.size() == 2; }));
    EXPECT_EQ(received[0].image.size(), QSize(160, 106));
    EXPECT_EQ(received[1].status, StatusFromErrno(ENOENT));
}

// Results still being made, or posted and not yet delivered, when the runner goes must not reach
// it (AddressSanitizer reports any use of the freed runner).
TEST_F(ThumbnailTest, RunnerDestroyedWithWorkInFlightDeliversNothing) {
    const QString path = Put(QStringLiteral("a.jpg"), *s_scan);
    int delivered = 0;
    auto runner = std::make_unique<ThumbnailRunner>(kBox);
    QObject::connect(runner.get(), &ThumbnailRunner::thumbnailReady, [&] { ++delivered; });
    for (int i = 0; i < 8; ++i) {
        runner->Request(path);
    }
    runner.reset();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(delivered, 0);
}

}  // namespace
}  // namespace zv
