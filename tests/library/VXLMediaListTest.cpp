#include "library/VXLMediaList.h"
#include "fileio/NativeFileName.h"
#include "library/MediaDirectoryWalk.h"
#include "support/TempDir.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
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
    EXPECT_EQ(list.leftOutCount(), 15035 - 15002) << "the list says what it could not hold";

    scan(list, card.filePath("z0"));
    EXPECT_EQ(list.leftOutCount(), 0) << "a scan that lists everything says so";
}

// The same walk with a small limit: what is listed keeps the walk's order and stopping rule,
// and the count of what was left out is exact, links and all.
TEST(MediaDirectoryWalk, CountsWhatTheLimitLeavesOut)
{
    TempDir card;
    const auto recordings = [&](const char* folder, const char* prefix, int count) {
        for (int i = 0; i < count; ++i)
            card.write(QString::asprintf("%s/%s_20230415_0000%02d_F.MP4", folder, prefix, i));
    };
    recordings("DCIM/ALWA", "alwa", 30);
    recordings("DCIM/EVENT", "event", 3);
    recordings("DCIM/MOTION", "motion", 3);
    recordings("exact", "alwa", 5);
    card.write("exact/notes.txt");
    recordings("loop/a", "alwa", 4);
    ASSERT_EQ(::symlink("..", card.filePath("loop/a/up").toLocal8Bit().constData()), 0);
    ASSERT_EQ(::symlink("a", card.filePath("loop/b").toLocal8Bit().constData()), 0);

    const struct
    {
        const char* folder;
        qsizetype limit;
        qsizetype listed;
        qsizetype leftOut;
    } cases[] = {
        // ALWA fills the list; EVENT and MOTION still add one each, as the camera's tools do.
        {"DCIM", 20, 22, 14},  //
        {"DCIM", 36, 36, 0},   // full at the last recording of the last folder
        {"DCIM", 1000, 36, 0}, // far from the limit
        {"exact", 5, 5, 0},    // full at the last recording: nothing left out
        {"exact", 4, 4, 1},    //
        {"loop", 2, 2, 2},     // the folder reached twice through links counts once
    };
    for (const auto& c : cases) {
        QList<VXLMediaPtr> medias;
        const qsizetype leftOut =
            MediaDirectoryWalk::eachDir(card.filePath(c.folder), medias, {}, c.limit);
        EXPECT_EQ(medias.size(), c.listed) << c.folder << " limit " << c.limit;
        EXPECT_EQ(leftOut, c.leftOut) << c.folder << " limit " << c.limit;
    }
}

// Names are bytes: a folder or file whose name is not UTF-8 is listed under a path that finds
// it again.
TEST(MediaDirectoryWalk, NamesThatAreNotUtf8KeepTheirBytes)
{
    TempDir card;
    const QByteArray root = QFile::encodeName(card.path());
    const QByteArray folder = root + "/Fahrt M\xfcnchen";
    const QByteArray file = folder + "/alwa_20230415_093012_F.MP4";
    const QByteArray oddFile = root + "/\xff\xfe\x80lwa_20230415_093012_R.mp4"; // no known prefix
    ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
    for (const QByteArray& path : {file, oddFile}) {
        const int fd = ::open(path.constData(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }
    QList<VXLMediaPtr> medias;
    MediaDirectoryWalk::eachDir(card.path(), medias);
    ASSERT_EQ(medias.size(), 2);
    QList<QByteArray> paths;
    for (const VXLMediaPtr& media : medias)
        paths.append(NativeFileName::fileNameToBytes(media->path()));
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ(paths, (QList<QByteArray>{file, oddFile}));
    for (const VXLMediaPtr& media : medias)
        EXPECT_EQ(media->mediaDirection() == VXLMediaDirectionRear,
                  media->fileName().endsWith(u"R.mp4"));
}

} // namespace
