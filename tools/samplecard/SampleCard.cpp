#include "samplecard/SampleCard.h"

#include "samplecard/DriveRecordLog.h"
#include "samplecard/FrameCode.h"
#include "samplecard/RecordingWriter.h"
#include "samplecard/SimulatedDrive.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>

namespace samplecard {

namespace {

bool fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

QByteArray readAll(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(error, QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
        return {};
    }
    return file.readAll();
}

// One recording moment of the card: a front and/or rear file and the drive behind them.
struct Moment
{
    QString folder;
    QString baseName; // without the camera letter
    bool front;
    bool rear;
    int utcOffsetHours; // the camera names files in local time; NMEA time is UTC
    DriveOptions drive;
};

QDateTime localNameTime(const QString& baseName)
{
    const QString stamp = baseName.right(15); // yyyymmdd_hhmiss
    return QDateTime::fromString(stamp, QStringLiteral("yyyyMMdd_HHmmss"));
}

} // namespace

QString frameCodeStripSource(int width, int height, int rate)
{
    // Bit b of the frame number N lies in cell 15 - b (geq counts the frames in N).
    const QString bit = QStringLiteral("mod(floor(N/pow(2\\,%1-floor(X*%2/W)))\\,2)")
                            .arg(kFrameCodeBits - 1)
                            .arg(kFrameCodeBits);
    return QStringLiteral("color=c=black:size=%1x%2:rate=%3,format=gray,"
                          "geq=lum='255*if(lt(Y\\,H/2)\\,%4\\,1-%4)'")
        .arg(width)
        .arg(height / kFrameCodeStripDivisor)
        .arg(rate)
        .arg(bit);
}

bool makeTestVideo(const VideoOptions& options, const QString& outputPath, QString* error)
{
    constexpr int kRate = 30;
    QStringList args{
        QStringLiteral("-nostdin"),
        QStringLiteral("-v"),
        QStringLiteral("error"),
        QStringLiteral("-y"),
        QStringLiteral("-f"),
        QStringLiteral("lavfi"),
        QStringLiteral("-i"),
        QStringLiteral("%1=size=%2x%3:rate=%4")
            .arg(options.withSound ? QStringLiteral("testsrc2") : QStringLiteral("testsrc"))
            .arg(options.width)
            .arg(options.height)
            .arg(kRate)};
    // The frame number strip, overlaid on the bottom edge of every picture.
    args << QStringLiteral("-f") << QStringLiteral("lavfi") << QStringLiteral("-i")
         << frameCodeStripSource(options.width, options.height, kRate);
    if (options.withSound)
        args << QStringLiteral("-f") << QStringLiteral("lavfi") << QStringLiteral("-i")
             << QStringLiteral("sine=frequency=440:sample_rate=48000");
    args << QStringLiteral("-filter_complex")
         << QStringLiteral("[0:v][1:v]overlay=0:main_h-overlay_h:shortest=1,format=yuv420p[v]")
         << QStringLiteral("-map") << QStringLiteral("[v]");
    if (options.withSound)
        args << QStringLiteral("-map") << QStringLiteral("2:a");
    args << QStringLiteral("-t") << QString::number(options.seconds) << QStringLiteral("-brand")
         << QStringLiteral("avc1") << QStringLiteral("-c:v") << QStringLiteral("libx264")
         << QStringLiteral("-preset") << QStringLiteral("ultrafast") << QStringLiteral("-b:v")
         << QStringLiteral("%1k").arg(options.kilobitsPerSecond) << QStringLiteral("-g")
         << QStringLiteral("30");
    if (options.withSound)
        args << QStringLiteral("-c:a") << QStringLiteral("aac") << QStringLiteral("-b:a")
             << QStringLiteral("48k");
    // Bit-exact output: the same card on every run, whatever the ffmpeg version string.
    args << QStringLiteral("-fflags") << QStringLiteral("+bitexact") << QStringLiteral("-flags:v")
         << QStringLiteral("+bitexact") << QStringLiteral("-flags:a") << QStringLiteral("+bitexact")
         << QStringLiteral("-f") << QStringLiteral("mp4") << outputPath;

    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), args);
    if (!ffmpeg.waitForStarted())
        return fail(error, QStringLiteral("cannot run ffmpeg (install the ffmpeg package)"));
    ffmpeg.waitForFinished(-1);
    if (ffmpeg.exitStatus() != QProcess::NormalExit || ffmpeg.exitCode() != 0)
        return fail(error,
                    QStringLiteral("ffmpeg failed: %1")
                        .arg(QString::fromLocal8Bit(ffmpeg.readAllStandardError()).trimmed()));
    return true;
}

QStringList makeSampleCard(const QString& cardDir, quint32 seed, QString* error)
{
    const auto drive = [seed](int index, int seconds) {
        DriveOptions options;
        options.seed = seed * 1000u + quint32(index);
        options.seconds = seconds;
        return options;
    };
    // One morning drive through Seoul (km/h) with a tunnel and a hard stop, the car parked
    // afterwards with motion recordings of one camera each, and a drive in Buenos Aires with
    // another speed unit and GNS sentences.
    QList<Moment> moments;
    {
        Moment m{QStringLiteral("DCIM/ALWA"),
                 QStringLiteral("alwa_20230415_093012"),
                 true,
                 true,
                 9,
                 drive(1, 30)};
        moments << m;
        m.baseName = QStringLiteral("alwa_20230415_093042");
        m.drive = drive(2, 30);
        m.drive.fixLostFromSecond = 12; // a tunnel
        m.drive.fixLostSeconds = 6;
        moments << m;
        m.folder = QStringLiteral("DCIM/EVENT");
        m.baseName = QStringLiteral("event_20230415_093112");
        m.drive = drive(3, 20);
        m.drive.hardBrakingAtSecond = 8;
        moments << m;
        m = Moment{QStringLiteral("DCIM/MOTION"),
                   QStringLiteral("motion_20230415_101500"),
                   false,
                   true,
                   9,
                   drive(4, 20)};
        m.drive.parked = true;
        moments << m;
        m.baseName = QStringLiteral("motion_20230415_102000");
        m.front = true;
        m.rear = false;
        m.drive = drive(5, 20);
        m.drive.parked = true;
        moments << m;
        m = Moment{QStringLiteral("DCIM/ALWA"),
                   QStringLiteral("alwa_20230520_141000"),
                   true,
                   true,
                   -3,
                   drive(6, 30)};
        m.drive.road = Road::BuenosAiresCentro;
        m.drive.withGns = true;
        m.drive.unitMarker = '0';
        moments << m;
    }
    // The Seoul recordings follow one another along the road.
    DriveEnd end{0, -1};
    for (Moment& m : moments) {
        if (m.drive.road != Road::SeoulCityHall)
            continue;
        m.drive.startDistance = end.distance;
        m.drive.startSpeed = end.speed;
        end = endOfDrive(m.drive);
    }

    QTemporaryDir work;
    if (!work.isValid()) {
        fail(error, QStringLiteral("cannot make a temporary folder"));
        return {};
    }
    QHash<QString, QByteArray> videos; // by size, length and sound: the same clip is reused
    const auto video = [&](bool front, int seconds) -> QByteArray {
        const QString key = QStringLiteral("%1_%2").arg(front ? 'F' : 'R').arg(seconds);
        if (!videos.contains(key)) {
            VideoOptions options;
            options.seconds = seconds;
            if (!front) {
                options.width = 640;
                options.height = 360;
                options.withSound = false;
                options.kilobitsPerSecond = 300;
            }
            const QString path = work.filePath(key + QStringLiteral(".mp4"));
            if (!makeTestVideo(options, path, error))
                return {};
            videos.insert(key, readAll(path, error));
        }
        return videos.value(key);
    };

    QStringList written;
    QList<LoggedDrive> logged;
    for (Moment& m : moments) {
        const QDateTime local = localNameTime(m.baseName);
        m.drive.start =
            QDateTime(local.date(), local.time(), Qt::UTC).addSecs(-3600 * m.utcOffsetHours);
        const QList<DriveRecord> records = simulateDrive(m.drive);
        if (!QDir().mkpath(QDir(cardDir).filePath(m.folder))) {
            fail(error, QStringLiteral("cannot make %1").arg(QDir(cardDir).filePath(m.folder)));
            return {};
        }
        for (bool front : {true, false}) {
            if (!(front ? m.front : m.rear))
                continue;
            const QByteArray clip = video(front, m.drive.seconds);
            if (clip.isEmpty())
                return {};
            const QString relative =
                QStringLiteral("%1/%2_%3.MP4").arg(m.folder, m.baseName, front ? "F" : "R");
            if (!writeRecording(clip, records, QDir(cardDir).filePath(relative), error))
                return {};
            written << relative;
        }
        // The camera's drive log holds the Seoul morning: a log keeps no hemisphere, so the
        // drive in Buenos Aires would show on the wrong side of the world.
        if (m.drive.road == Road::SeoulCityHall)
            logged << LoggedDrive{simulateDriveStates(m.drive), m.utcOffsetHours, m.drive.parked,
                                  m.folder.endsWith(QLatin1String("EVENT"))};
    }

    const QString logFolder = QStringLiteral("DrvInfo");
    if (!QDir().mkpath(QDir(cardDir).filePath(logFolder))) {
        fail(error, QStringLiteral("cannot make %1").arg(QDir(cardDir).filePath(logFolder)));
        return {};
    }
    const QList<std::pair<QString, QByteArray>> logs = {
        {logFolder + QStringLiteral("/zuva_000.drv"), flashDataLog(logged)},
        {logFolder + QStringLiteral("/zuva_000.obd"), obdDriveInfoLog(logged)},
    };
    for (const auto& [relative, bytes] : logs) {
        QFile file(QDir(cardDir).filePath(relative));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() ||
            !file.flush()) {
            fail(error,
                 QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString()));
            return {};
        }
        written << relative;
    }
    return written;
}

bool makeLongRecording(const QString& outputPath, int minutes, qint64 totalBytes, quint32 seed,
                       QString* error)
{
    QTemporaryDir work;
    if (!work.isValid())
        return fail(error, QStringLiteral("cannot make a temporary folder"));
    VideoOptions videoOptions;
    videoOptions.seconds = 6;
    const QString videoPath = work.filePath(QStringLiteral("clip.mp4"));
    if (!makeTestVideo(videoOptions, videoPath, error))
        return false;
    const QByteArray clip = readAll(videoPath, error);
    if (clip.isEmpty())
        return false;

    DriveOptions drive;
    drive.seed = seed;
    drive.seconds = minutes * 60;
    drive.start = QDateTime(QDate(2023, 4, 15), QTime(0, 30, 12), Qt::UTC);
    drive.fixLostFromSecond = 200;
    drive.fixLostSeconds = 20;
    const QList<DriveRecord> records = simulateDrive(drive);

    RecordingLayout layout;
    if (!records.isEmpty())
        layout.fillerBeforeEachRecord =
            qMax<qint64>(0, (totalBytes - clip.size()) / records.size() - kChunkSize);
    return writeRecording(clip, records, outputPath, error, layout);
}

} // namespace samplecard
