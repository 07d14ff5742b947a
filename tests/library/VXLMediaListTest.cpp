#include "library/VXLMediaList.h"
#include "support/TempDir.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

QStringList fileNames(const VXLMediaList& list)
{
    QStringList names;
    for (const VXLMediaPtr& media : list.medias())
        names << media->fileName();
    return names;
}

// Opens the directory the way the window does and waits for the one report of the scan.
void scan(VXLMediaList& list, const QString& path, int expectedSignals = 1)
{
    QSignalSpy spy(&list, &VXLMediaList::mediaListChanged);
    list.setDirectoryPath(path);
    list.waitForScan();
    QCoreApplication::processEvents();
    EXPECT_EQ(spy.count(), expectedSignals);
}

TEST(VXLMediaList, SortsAndPairsRecordingsAtAnyDepth)
{
    TempDir card;
    card.write("alwa_20230415_093012_R.MP4");
    card.write("DCIM/deep/er/alwa_20230415_093012_F.MP4");
    card.write("event_20230415_093012_F.mp4");
    card.write("EVENT/motion_20230415_093012_R.Mp4"); // rear without its front
    card.write("alwa_20230415_093012_F.avi");         // not a recording
    card.write("notes.txt");
    card.write("alwa_20230415_09301_F.MP4"); // bad name

    VXLMediaList list;
    scan(list, card.path());
    EXPECT_EQ(fileNames(list),
              (QStringList{"event_20230415_093012_F.mp4", "motion_20230415_093012_R.Mp4",
                           "alwa_20230415_093012_F.MP4", "alwa_20230415_093012_R.MP4"}));
    EXPECT_EQ(list.directoryPath(), card.path());

    ASSERT_EQ(list.count(), 4);
    const VXLMediaPairPtr always = list.findMediaPairWithFileName("alwa_20230415_093012_F.MP4");
    ASSERT_TRUE(always);
    EXPECT_EQ(always->frontMedia, list.mediaAtIndex(2));
    EXPECT_EQ(always->rearMedia, list.mediaAtIndex(3));
    // The four forms of the lookup all find the same pair.
    EXPECT_EQ(list.findMediaPairWithFileName(list.mediaAtIndex(3)->path()), always);
    EXPECT_EQ(list.findMediaPairWithFileName("alwa_20230415_093012_R"), always);
    EXPECT_EQ(list.findMediaPairWithFileName("alwa_20230415_093012"), always);
    EXPECT_FALSE(list.findMediaPairWithFileName("alwa_20230415_093013_F.MP4"));

    const VXLMediaPairPtr event = list.findMediaPairWithFileName("event_20230415_093012_F");
    ASSERT_TRUE(event);
    EXPECT_TRUE(event->frontMedia);
    EXPECT_FALSE(event->rearMedia);
    const VXLMediaPairPtr motion = list.findMediaPairWithFileName("motion_20230415_093012_R.Mp4");
    ASSERT_TRUE(motion);
    EXPECT_FALSE(motion->frontMedia);
    EXPECT_TRUE(motion->rearMedia);

    EXPECT_TRUE(list.mediaAtIndex(3));
    EXPECT_FALSE(list.mediaAtIndex(4));
    EXPECT_FALSE(list.mediaAtIndex(size_t(-1)));
}

// The same moment and camera in two folders: both are listed, and the pair holds the one
// listed last.
TEST(VXLMediaList, PairHoldsTheLastOfTwoRecordingsOfOneMomentAndCamera)
{
    TempDir card;
    card.write("A/alwa_20230415_093012_F.MP4");
    card.write("B/alwa_20230415_093012_F.MP4");
    card.write("B/alwa_20230415_093012_R.MP4");
    card.write("C/alwa_20230415_093012_R.MP4");
    VXLMediaList list;
    scan(list, card.path());
    ASSERT_EQ(list.count(), 4);
    const VXLMediaPairPtr pair = list.findMediaPairWithFileName("alwa_20230415_093012");
    ASSERT_TRUE(pair);
    ASSERT_TRUE(pair->frontMedia && pair->rearMedia);
    EXPECT_EQ(pair->frontMedia->path(), list.mediaAtIndex(1)->path());
    EXPECT_EQ(pair->rearMedia->path(), list.mediaAtIndex(3)->path());
    EXPECT_NE(list.mediaAtIndex(0)->path(), list.mediaAtIndex(1)->path());
}

TEST(VXLMediaList, EmptyMissingAndReplacedDirectories)
{
    TempDir first;
    first.write("alwa_20230415_093012_F.MP4");
    first.write("alwa_20230415_093012_R.MP4");
    TempDir second;
    second.write("event_20240101_120000_F.MP4");
    TempDir empty;

    VXLMediaList list;
    scan(list, first.path());
    EXPECT_EQ(list.count(), 2);

    scan(list, second.path());
    EXPECT_EQ(fileNames(list), QStringList{"event_20240101_120000_F.MP4"});
    EXPECT_FALSE(list.findMediaPairWithFileName("alwa_20230415_093012"));

    scan(list, empty.path());
    EXPECT_EQ(list.count(), 0);
    scan(list, empty.filePath("missing"));
    EXPECT_EQ(list.count(), 0);

    // An empty path only clears the stored path: no scan, no report.
    scan(list, QString(), 0);
    EXPECT_TRUE(list.directoryPath().isEmpty());
}

TEST(VXLMediaList, SecondScanWinsOverTheFirst)
{
    TempDir big;
    for (int i = 0; i < 3000; ++i)
        big.write(QString::asprintf("d%02d/alwa_20230415_%02d%02d%02d_F.MP4", i % 40, i / 3600,
                                    i / 60 % 60, i % 60));
    TempDir small;
    small.write("motion_20230415_093012_F.MP4");

    VXLMediaList list;
    QSignalSpy spy(&list, &VXLMediaList::mediaListChanged);
    list.setDirectoryPath(big.path());
    list.setDirectoryPath(small.path());
    list.waitForScan();
    QCoreApplication::processEvents();
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(fileNames(list), QStringList{"motion_20230415_093012_F.MP4"});
}

TEST(VXLMediaList, SymbolicLinkCycleIsWalkedOnce)
{
    TempDir card;
    card.write("a/alwa_20230415_093012_F.MP4");
    ASSERT_EQ(::symlink("..", card.filePath("a/up").toLocal8Bit().constData()), 0);
    ASSERT_EQ(::symlink(card.filePath("a").toLocal8Bit().constData(),
                        card.filePath("link-to-a").toLocal8Bit().constData()),
              0);
    VXLMediaList list;
    scan(list, card.path());
    EXPECT_EQ(list.count(), 1);
}

TEST(VXLMediaList, StopsNearTheLimit)
{
    // 14990 files at the top, then three folders of five: the walk inside the first folder
    // reaches 15000 and stops; the top level goes on and each further folder adds one more.
    TempDir card;
    for (int i = 0; i < 14990; ++i)
        card.write(
            QString::asprintf("alwa_20230415_%02d%02d%02d_F.MP4", i / 3600, i / 60 % 60, i % 60));
    for (int folder = 0; folder < 3; ++folder)
        for (int i = 0; i < 15; ++i)
            card.write(QString::asprintf("z%d/alwa_20230416_0000%02d_F.MP4", folder, i));
    VXLMediaList list;
    scan(list, card.path());
    EXPECT_EQ(list.count(), 15000 + 2);
}

} // namespace
