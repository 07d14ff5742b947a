#include "clipexport/VXLClipExporter.h"
#include "library/VXLMediaList.h"

#include "samplecard/DriveRecord.h"
#include "samplecard/RecordingWriter.h"
#include "samplecard/SampleCard.h"
#include "support/ClipProbe.h"
#include "support/FullFileSystem.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

namespace {

QString sampleCard()
{
    return qEnvironmentVariable("VEXLO_BINARY_DIR") + QStringLiteral("/sample-card");
}

QString alwa(const char* name)
{
    return sampleCard() + QStringLiteral("/DCIM/ALWA/") + QLatin1StringView(name);
}

ClipExportRequest requestFor(const QString& recording, double from, double to,
                             const QString& output, const QString& card = sampleCard())
{
    ClipExportRequest request;
    request.recordingPath = recording;
    request.from = from;
    request.to = to;
    request.outputPath = output;
    request.list = VXLMediaList::scanDirectory(card);
    return request;
}

// Runs one export to its end.
ClipExportResult exportClip(const ClipExportRequest& request)
{
    VXLClipExporter exporter;
    QSignalSpy finished(&exporter, &VXLClipExporter::finished);
    exporter.start(request);
    EXPECT_TRUE(QTest::qWaitFor([&] { return finished.count() > 0; }, 180000));
    if (finished.isEmpty())
        return {};
    return finished.first().first().value<ClipExportResult>();
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

// The picture of each layout, the sound of the front camera, the subtitle track, a length
// within a frame of the span, and every frame decoding to the end.
TEST(ClipExport, LayoutsOfTheSampleCard)
{
    const struct
    {
        const char* recording;
        ClipLayout layout;
        QSize picture;
    } cases[] = {
        {"alwa_20230415_093012_F.MP4", ClipLayout::SideBySide, {1920, 540}},
        {"alwa_20230415_093012_F.MP4", ClipLayout::PictureInPicture, {1280, 720}},
        {"alwa_20230415_093012_F.MP4", ClipLayout::Single, {1280, 720}},
        // The rear camera alone keeps its size, and the front's sound.
        {"alwa_20230415_093012_R.MP4", ClipLayout::Single, {640, 360}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.recording << " " << clipLayoutName(c.layout).toStdString());
        TempDir out;
        ClipExportRequest request =
            requestFor(alwa(c.recording), 10, 12, out.filePath(QStringLiteral("clip.mp4")));
        request.layout = c.layout;
        const ClipExportResult result = exportClip(request);
        ASSERT_EQ(result.status, ClipExportResult::Status::Written) << result.problem.toStdString();
        EXPECT_TRUE(result.notes.isEmpty()) << result.notes.join(u' ').toStdString();

        const ProbedClip clip = probeClip(result.outputPath);
        EXPECT_EQ(clip.picture, c.picture);
        EXPECT_NEAR(clip.duration, 2.0, 1.5 / 30);
        EXPECT_TRUE(clip.hasAudio);
        EXPECT_TRUE(clip.hasSubtitles);
        EXPECT_EQ(clip.majorBrand, QStringLiteral("isom"));
        EXPECT_TRUE(clip.moovBeforeMdat) << "faststart";
        const DecodedClip decoded = decodeClip(result.outputPath);
        EXPECT_TRUE(decoded.errors.isEmpty()) << decoded.errors.toStdString();
        EXPECT_NEAR(decoded.frames, 60, 1);
        EXPECT_EQ(filesIn(out.path()),
                  QStringList({QStringLiteral("clip.csv"), QStringLiteral("clip.gpx"),
                               QStringLiteral("clip.mp4")}));
    }
}

TEST(ClipExport, SpanIntoTheNextRecording)
{
    TempDir out;
    const ClipExportResult result = exportClip(requestFor(
        alwa("alwa_20230415_093012_F.MP4"), 28.5, 31, out.filePath(QStringLiteral("clip.mp4"))));
    ASSERT_EQ(result.status, ClipExportResult::Status::Written) << result.problem.toStdString();
    EXPECT_NEAR(probeClip(result.outputPath).duration, 2.5, 1.5 / 30);
    const DecodedClip decoded = decodeClip(result.outputPath);
    EXPECT_TRUE(decoded.errors.isEmpty()) << decoded.errors.toStdString();
    EXPECT_NEAR(decoded.frames, 75, 1);
    // The camera's clock runs on across the join: 09:30:12 + 28.5 s, then the second
    // recording from 09:30:42.
    const QString text = subtitleText(result.outputPath);
    EXPECT_TRUE(
        text.contains(QLatin1StringView("00:00:00,000 --> 00:00:00,100\n2023-04-15 09:30:40.5")))
        << text.left(300).toStdString();
    EXPECT_TRUE(
        text.contains(QLatin1StringView("00:00:01,500 --> 00:00:01,600\n2023-04-15 09:30:42.0")));
    // The drive data beside it: the header and 25 records.
    QFile csv(result.csvPath);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll().count('\n'), 26);
}

// A recording made here with known speeds: 10 knots in its first second, 20 in its second.
// No partner: the clip shows its one camera whatever layout is asked for, and says so.
TEST(ClipExport, SpeedInTheSubtitleTrack)
{
    TempDir card;
    QString error;
    samplecard::VideoOptions video;
    video.width = 320;
    video.height = 180;
    video.seconds = 3;
    const QString plain = card.filePath(QStringLiteral("plain.mp4"));
    ASSERT_TRUE(samplecard::makeTestVideo(video, plain, &error)) << error.toStdString();
    QFile plainFile(plain);
    ASSERT_TRUE(plainFile.open(QIODevice::ReadOnly));
    QList<samplecard::DriveRecord> records(30);
    records[0].nmea =
        samplecard::nmeaSentence("GNRMC,003012.000,A,3733.9800,N,12658.6800,E,10.0,90.0,150423,,");
    records[1].nmea =
        samplecard::nmeaSentence("GNGGA,003012.000,3733.9800,N,12658.6800,E,1,09,0.9,30,M,,M,,");
    records[10].nmea =
        samplecard::nmeaSentence("GNRMC,003013.000,A,3733.9800,N,12658.6800,E,20.0,90.0,150423,,");
    const QString recording = card.filePath(QStringLiteral("DCIM/alwa_20230415_093012_F.MP4"));
    QDir().mkpath(card.filePath(QStringLiteral("DCIM")));
    ASSERT_TRUE(samplecard::writeRecording(plainFile.readAll(), records, recording, &error))
        << error.toStdString();
    QFile::remove(plain);

    for (bool miles : {false, true}) {
        SCOPED_TRACE(miles);
        TempDir out;
        ClipExportRequest request =
            requestFor(recording, 0, 3, out.filePath(QStringLiteral("speed.mp4")), card.path());
        request.overlay = false;
        request.miles = miles;
        const ClipExportResult result = exportClip(request);
        ASSERT_EQ(result.status, ClipExportResult::Status::Written) << result.problem.toStdString();
        EXPECT_EQ(probeClip(result.outputPath).picture, QSize(320, 180));
        ASSERT_EQ(result.notes.size(), 1);
        EXPECT_TRUE(result.notes.first().contains(QLatin1StringView("front camera alone")));
        const QString text = subtitleText(result.outputPath);
        EXPECT_TRUE(text.contains(
            QLatin1StringView("00:00:01,500 --> 00:00:01,600\n2023-04-15 09:30:13.5   ")))
            << text.left(400).toStdString();
        EXPECT_TRUE(text.contains(miles ? QLatin1StringView(":13.5   23 mi/h\n37.566333, 126.97")
                                        : QLatin1StringView(":13.5   37 km/h\n37.566333, 126.97")))
            << text.mid(text.indexOf(QLatin1StringView(":13.5")), 80).toStdString();
        EXPECT_TRUE(text.contains(miles ? QLatin1StringView(":12.5   11 mi/h")
                                        : QLatin1StringView(":12.5   18 km/h")));
    }
}

TEST(ClipExport, RecordingWithoutDriveDataHasNoOverlay)
{
    TempDir card;
    QString error;
    samplecard::VideoOptions video;
    video.width = 320;
    video.height = 180;
    video.seconds = 2;
    const QString recording = card.filePath(QStringLiteral("alwa_20230415_093012_F.MP4"));
    ASSERT_TRUE(samplecard::makeTestVideo(video, recording, &error)) << error.toStdString();
    TempDir out;
    const ClipExportResult result = exportClip(
        requestFor(recording, 0.5, 1.5, out.filePath(QStringLiteral("c.mp4")), card.path()));
    ASSERT_EQ(result.status, ClipExportResult::Status::Written) << result.problem.toStdString();
    EXPECT_TRUE(result.notes.join(u' ').contains(QLatin1StringView("holds no drive data")));
    EXPECT_FALSE(probeClip(result.outputPath).hasSubtitles);
    EXPECT_TRUE(result.gpxPath.isEmpty());
    EXPECT_EQ(filesIn(out.path()), QStringList(QStringLiteral("c.mp4")));
}

TEST(ClipExport, CancelMidwayLeavesNothing)
{
    TempDir out;
    ClipExportRequest request = requestFor(alwa("alwa_20230415_093012_F.MP4"), 0, 60,
                                           out.filePath(QStringLiteral("long.mp4")));
    request.quality = ClipQuality::High;
    VXLClipExporter exporter;
    QSignalSpy progress(&exporter, &VXLClipExporter::progressChanged);
    QSignalSpy finished(&exporter, &VXLClipExporter::finished);
    exporter.start(request);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !progress.isEmpty() && progress.last().first().toDouble() > 0; }, 120000));
    ASSERT_TRUE(finished.isEmpty()) << "the export ended before it could be cancelled";
    // The encoder is writing its file beside the target now.
    EXPECT_EQ(filesIn(out.path()).size(), 1);
    exporter.cancel();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !finished.isEmpty(); }, 30000));
    const auto result = finished.first().first().value<ClipExportResult>();
    EXPECT_EQ(result.status, ClipExportResult::Status::Cancelled);
    EXPECT_TRUE(result.problem.contains(QLatin1StringView("cancelled")));
    EXPECT_TRUE(filesIn(out.path()).isEmpty()) << filesIn(out.path()).join(u' ').toStdString();
}

// A read-only folder, as root a read-only mount (root writes anywhere else).
class ReadOnlyFolder
{
public:
    ReadOnlyFolder()
    {
        const QByteArray path = QFile::encodeName(m_dir.path());
        if (::geteuid() == 0)
            m_mounted = ::mount("tmpfs", path.constData(), "tmpfs", MS_RDONLY, "size=64k") == 0;
        else
            QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    }
    ~ReadOnlyFolder()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
        QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

TEST(ClipExport, FailuresSayWhyAndLeaveNothing)
{
    TempDir out;
    const QString target = out.filePath(QStringLiteral("clip.mp4"));
    const QString first = alwa("alwa_20230415_093012_F.MP4");
    const struct
    {
        const char* name;
        double from, to;
        const char* says;
    } spans[] = {
        {"reversed", 20, 10, "before it starts"},
        {"past the end of the card", 55, 65, "past the end of the recordings"},
    };
    for (const auto& s : spans) {
        SCOPED_TRACE(s.name);
        const ClipExportResult result = exportClip(requestFor(first, s.from, s.to, target));
        EXPECT_EQ(result.status, ClipExportResult::Status::Failed);
        EXPECT_TRUE(result.problem.contains(QLatin1StringView(s.says)))
            << result.problem.toStdString();
        EXPECT_TRUE(filesIn(out.path()).isEmpty());
    }

    ReadOnlyFolder readOnly;
    const ClipExportResult refused =
        exportClip(requestFor(first, 0, 1, readOnly.path() + QStringLiteral("/clip.mp4")));
    EXPECT_EQ(refused.status, ClipExportResult::Status::Failed);
    EXPECT_TRUE(refused.problem.contains(QLatin1StringView("cannot create a new file in")))
        << refused.problem.toStdString();
    const ClipExportResult missing =
        exportClip(requestFor(first, 0, 1, out.filePath("no/clip.mp4")));
    EXPECT_TRUE(missing.problem.contains(QLatin1StringView("No such file or directory")))
        << missing.problem.toStdString();

    FullFileSystem full;
    if (!full.isMounted())
        GTEST_SKIP() << "a full file system needs root";
    full.fill();
    const ClipExportResult noSpace =
        exportClip(requestFor(first, 0, 1, full.filePath(QStringLiteral("clip.mp4"))));
    EXPECT_EQ(noSpace.status, ClipExportResult::Status::Failed);
    EXPECT_TRUE(noSpace.problem.contains(QLatin1StringView("No space left on device")))
        << noSpace.problem.toStdString();
    EXPECT_EQ(filesIn(QFileInfo(full.filePath(QStringLiteral("filler"))).path()),
              QStringList(QStringLiteral("filler")));
}

} // namespace
