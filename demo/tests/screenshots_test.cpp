// Runs `quenmark-demo --screenshots` as CI would and checks what it printed and wrote: every expected
// picture, at the size of its screen, showing more than one colour.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QSize>
#include <QTemporaryDir>

namespace {

struct Expected {
  const char* name;
  QSize size;
};

// The window is 400 x 820 points drawn at twice the size; banner pictures are the card alone, 368 points
// wide (16 points of margin on each side).
const QSize kScreen(800, 1640);
const Expected kPictures[] = {
    {"home.png", kScreen},
    {"banner-carousel.png", QSize(736, 414)},  // 16:9
    {"banner-static.png", QSize(736, 240)},    // fixed height 120
    {"banner-story.png", QSize(736, 368)},     // 2:1
    {"viewer-new-this-week.png", kScreen},
    {"viewer-your-vote.png", kScreen},
    {"poll-voted.png", kScreen},
    {"viewer-kitchen-quiz.png", kScreen},
    {"quiz-answered.png", kScreen},
    {"viewer-weekend-box.png", kScreen},
    {"viewer-offers.png", kScreen},
    {"settings.png", kScreen},
    {"viewer-your-vote-de_DE.png", kScreen},
    {"poll-voted-de_DE.png", kScreen},
};

// Distinct colours on a coarse grid: a blank or single-colour picture has one.
int coloursSampled(const QImage& image) {
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); y += 8) {
    for (int x = 0; x < image.width(); x += 8) colours.insert(image.pixel(x, y));
  }
  return static_cast<int>(colours.size());
}

TEST(DemoScreenshots, WritesEveryScreenAtItsSize) {
  QTemporaryDir work;
  ASSERT_TRUE(work.isValid());
  const QString directory = QDir(work.path()).filePath(QStringLiteral("pictures"));

  QProcess demo;
  demo.setProcessChannelMode(QProcess::SeparateChannels);
  demo.start(QStringLiteral(QUENMARK_DEMO_PATH), {QStringLiteral("--screenshots"), directory});
  ASSERT_TRUE(demo.waitForStarted());
  // The demo gives up on its own after two minutes; this only guards against a hang.
  ASSERT_TRUE(demo.waitForFinished(240'000)) << "the demo did not finish";
  ASSERT_EQ(demo.exitStatus(), QProcess::NormalExit);
  ASSERT_EQ(demo.exitCode(), 0) << demo.readAllStandardError().toStdString();

  const QStringList printed =
      QString::fromLocal8Bit(demo.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  ASSERT_EQ(printed.size(), static_cast<qsizetype>(std::size(kPictures)));
  for (const Expected& expected : kPictures) {
    SCOPED_TRACE(expected.name);
    const QString path = QDir(directory).filePath(QString::fromLatin1(expected.name));
    EXPECT_TRUE(printed.contains(path));
    const QImage image(path);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), expected.size);
    EXPECT_GT(coloursSampled(image), 16);
  }
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
