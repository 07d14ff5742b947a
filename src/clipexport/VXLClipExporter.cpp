#include "VXLClipExporter.h"

#include "ClipSpan.h"
#include "ClipSubtitles.h"
#include "drivedata/DriveDataExport.h"
#include "drivedata/VXLBlackBoxData.h"
#include "fileio/SafeFileWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMetaObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>

#include <sys/resource.h>

// What the worker found out before encoding: the encoder's plan, the span's drive data and
// the folder with the subtitle files ffmpeg runs in.
struct PreparedClip
{
    ClipEncodingPlan plan;
    VXLBlackBoxData driveData;
    bool hasDriveData = false;
    QStringList notes;
    QString problem;
    std::unique_ptr<QTemporaryDir> work;
};

namespace {

ClipExportResult cancelledResult()
{
    ClipExportResult result;
    result.status = ClipExportResult::Status::Cancelled;
    return result;
}

const char kBurnedSubtitleFile[] = "drive.ass";
const char kSubtitleTrackFile[] = "drive.srt";

QString cameraName(const VXLMedia& media)
{
    return media.isRearMedia() ? QStringLiteral("rear") : QStringLiteral("front");
}

VXLMediaPtr findRecording(const VXLMediaList::Content& list, const QString& path)
{
    const QFileInfo wanted(path);
    const QString canonical = wanted.canonicalFilePath();
    for (const VXLMediaPtr& media : list.medias) {
        if (media->path() == path)
            return media;
        if (media->fileName() == wanted.fileName() && !canonical.isEmpty() &&
            QFileInfo(media->path()).canonicalFilePath() == canonical)
            return media;
    }
    return nullptr;
}

ClipPiece pieceOf(const VXLMediaPtr& media, const ClipSegment& segment,
                  const QHash<QString, ClipMediaInfo>& probed)
{
    ClipPiece piece;
    piece.from = segment.from;
    piece.duration = segment.duration();
    if (media) {
        piece.path = media->path();
        piece.media = probed.value(media->path());
    }
    return piece;
}

QSize firstVideoSize(const QList<ClipPiece>& pieces)
{
    for (const ClipPiece& piece : pieces)
        if (!piece.path.isEmpty() && piece.media.hasVideo())
            return piece.media.videoSize;
    return {};
}

bool writeWorkFile(const QTemporaryDir& work, const char* name, const QByteArray& bytes,
                   QString* problem)
{
    const QString reason = replaceFileContents(work.filePath(QLatin1StringView(name)), bytes);
    if (!reason.isEmpty())
        *problem = QStringLiteral("The subtitle file cannot be written: %1").arg(reason);
    return reason.isEmpty();
}

// The drive data of the span: cues for the picture and the subtitle track, and the span's
// records for the GPX and CSV. The front camera's recording carries the data the player
// shows; a recording without a front partner is asked for its own.
void collectDriveData(const ClipSpan& span, bool miles, PreparedClip& prepared,
                      QList<ClipCue>& cues, const std::atomic<bool>& cancelled)
{
    QStringList withoutData;
    for (const ClipSegment& segment : span.segments) {
        if (cancelled)
            return;
        const VXLMediaPtr source = segment.front() ? segment.front() : segment.master;
        VXLBlackBoxData data;
        if (!data.ExtractStreamInformation(source->path()) || data.m_GSensors().isEmpty()) {
            withoutData << source->fileName();
            continue;
        }
        // The cues time each record by the length of the master recording; both cameras
        // record the same moment.
        ClipSegment timing = segment;
        timing.master = source;
        cues << driveDataCues(data, timing, miles);
        const auto [first, end] =
            recordsBetween(data.m_GSensors().size(), segment.length, segment.from, segment.to);
        prepared.driveData.appendRecords(data, first, end);
    }
    prepared.hasDriveData = !prepared.driveData.m_GSensors().isEmpty();
    if (!prepared.hasDriveData) {
        prepared.notes << QStringLiteral("%1 holds no drive data: the clip has no overlay, no "
                                         "subtitle track and no GPX or CSV file.")
                              .arg(withoutData.join(QStringLiteral(", ")));
    } else if (!withoutData.isEmpty()) {
        prepared.notes << QStringLiteral("%1 holds no drive data: its part of the clip shows none.")
                              .arg(withoutData.join(QStringLiteral(", ")));
    }
}

std::shared_ptr<PreparedClip> prepareClip(const ClipExportRequest& request, const QString& ffprobe,
                                          const std::atomic<bool>& cancelled)
{
    auto prepared = std::make_shared<PreparedClip>();
    const VXLMediaPtr master = findRecording(request.list, request.recordingPath);
    if (!master) {
        prepared->problem = QStringLiteral("%1 is not a recording of the card: its name must "
                                           "follow the camera's, as alwa_20230415_093012_F.MP4.")
                                .arg(QFileInfo(request.recordingPath).fileName());
        return prepared;
    }
    QHash<QString, ClipMediaInfo> probed;
    const auto probe = [&](const VXLMedia& media) -> const ClipMediaInfo& {
        auto known = probed.constFind(media.path());
        if (known == probed.constEnd())
            known = probed.insert(media.path(), probeClipMedia(media.path(), ffprobe));
        return *known;
    };
    if (const ClipMediaInfo& info = probe(*master); !info.problem.isEmpty()) {
        prepared->problem =
            QStringLiteral("%1 cannot be read: %2.").arg(master->fileName(), info.problem);
        return prepared;
    }
    const ClipSpan span =
        findClipSpan(request.list, master, request.from, request.to, [&](const VXLMedia& media) {
            return cancelled ? -1.0 : probe(media).duration;
        });
    if (cancelled)
        return prepared;
    if (!span.isValid()) {
        prepared->problem = span.problem;
        return prepared;
    }
    for (const ClipSegment& segment : span.segments) {
        if (segment.partner && !probe(*segment.partner).problem.isEmpty()) {
            prepared->problem =
                QStringLiteral("%1 cannot be read: %2.")
                    .arg(segment.partner->fileName(), probe(*segment.partner).problem);
            return prepared;
        }
    }

    ClipEncodingPlan& plan = prepared->plan;
    plan.layout = request.layout;
    plan.quality = request.quality;
    if (plan.layout != ClipLayout::Single && !span.hasPartner()) {
        plan.layout = ClipLayout::Single;
        prepared->notes << QStringLiteral("%1 has no recording of the other camera: the clip "
                                          "shows the %2 camera alone.")
                               .arg(master->fileName(), cameraName(*master));
    }
    QStringList alone;
    for (const ClipSegment& segment : span.segments) {
        if (plan.layout == ClipLayout::Single) {
            plan.mainPieces << pieceOf(segment.master, segment, probed);
        } else {
            plan.mainPieces << pieceOf(segment.front(), segment, probed);
            plan.insetPieces << pieceOf(segment.rear(), segment, probed);
            if (!segment.partner)
                alone << segment.master->fileName();
        }
        // The front camera carries the car's sound; the rear's is used where it has none.
        ClipPiece sound = pieceOf(segment.front(), segment, probed);
        if (sound.path.isEmpty() || !sound.media.hasAudio)
            sound = pieceOf(segment.rear(), segment, probed);
        plan.soundPieces << sound;
    }
    if (!alone.isEmpty())
        prepared->notes << QStringLiteral("%1 has no recording of the other camera: its part "
                                          "of the clip shows black in that camera's place.")
                               .arg(alone.join(QStringLiteral(", ")));
    if (std::none_of(plan.soundPieces.cbegin(), plan.soundPieces.cend(),
                     [](const ClipPiece& piece) { return piece.media.hasAudio; }))
        plan.soundPieces.clear();
    plan.frameRate = probed.value(master->path()).frameRate;
    plan.geometry = clipGeometry(plan.layout, plan.quality, firstVideoSize(plan.mainPieces),
                                 firstVideoSize(plan.insetPieces));

    QList<ClipCue> cues;
    collectDriveData(span, request.miles, *prepared, cues, cancelled);
    if (cancelled)
        return prepared;
    prepared->work = std::make_unique<QTemporaryDir>();
    if (!prepared->work->isValid()) {
        prepared->problem = QStringLiteral("No temporary folder can be made: %1")
                                .arg(prepared->work->errorString());
        return prepared;
    }
    if (!cues.isEmpty()) {
        if (!writeWorkFile(*prepared->work, kSubtitleTrackFile, srtSubtitles(cues),
                           &prepared->problem))
            return prepared;
        plan.subtitleTrackFile = QLatin1StringView(kSubtitleTrackFile);
        if (request.overlay) {
            if (!writeWorkFile(*prepared->work, kBurnedSubtitleFile,
                               assSubtitles(cues, plan.geometry.picture), &prepared->problem))
                return prepared;
            plan.burnedSubtitleFile = QLatin1StringView(kBurnedSubtitleFile);
        }
    }
    return prepared;
}

QString writeClipFiles(const PreparedClip& prepared, SafeFileWriter& output,
                       const QString& outputPath, ClipExportResult& result);

// Writes the GPX and CSV into new files (kept uncommitted), puts the MP4 in place, then the
// two others. Sets the result's status, files and problem.
void finalizeClip(const PreparedClip& prepared, SafeFileWriter& output, const QString& outputPath,
                  ClipExportResult& result)
{
    result.problem = writeClipFiles(prepared, output, outputPath, result);
    if (!result.outputPath.isEmpty()) {
        result.status = ClipExportResult::Status::Written;
        // The clip is whole; only a file beside it is missing.
        if (!result.problem.isEmpty())
            result.notes << result.problem;
        result.problem.clear();
    }
}

QString writeClipFiles(const PreparedClip& prepared, SafeFileWriter& output,
                       const QString& outputPath, ClipExportResult& result)
{
    std::unique_ptr<SafeFileWriter> gpx;
    std::unique_ptr<SafeFileWriter> csv;
    if (prepared.hasDriveData) {
        const QString gpxPath = VXLClipExporter::sidecarPath(outputPath, QStringLiteral("gpx"));
        const QString csvPath = VXLClipExporter::sidecarPath(outputPath, QStringLiteral("csv"));
        gpx = std::make_unique<SafeFileWriter>(gpxPath);
        csv = std::make_unique<SafeFileWriter>(csvPath);
        if (!gpx->open(QIODevice::WriteOnly) || !writeDriveDataGpx(prepared.driveData, *gpx))
            return QStringLiteral("%1 cannot be written: %2").arg(gpxPath, gpx->errorString());
        if (!csv->open(QIODevice::WriteOnly) || !writeDriveDataCsv(prepared.driveData, *csv))
            return QStringLiteral("%1 cannot be written: %2").arg(csvPath, csv->errorString());
        result.gpxPath = gpxPath;
        result.csvPath = csvPath;
    }
    if (!output.commit()) {
        result.gpxPath.clear();
        result.csvPath.clear();
        return QStringLiteral("%1 cannot be written: %2").arg(outputPath, output.errorString());
    }
    result.outputPath = outputPath;
    for (SafeFileWriter* file : {gpx.get(), csv.get()}) {
        if (file && !file->commit()) {
            result.gpxPath.clear();
            result.csvPath.clear();
            return QStringLiteral("The drive data beside the clip cannot be written: %1")
                .arg(file->errorString());
        }
    }
    return {};
}

} // namespace

VXLClipExporter::VXLClipExporter(QObject* parent) : QObject(parent)
{
    qRegisterMetaType<ClipExportResult>();
    m_worker.setMaxThreadCount(1);
}

VXLClipExporter::~VXLClipExporter()
{
    if (m_cancelled)
        *m_cancelled = true;
    if (m_process) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(5000);
    }
    m_worker.waitForDone();
    if (m_output)
        m_output->discard();
}

void VXLClipExporter::setPrograms(const QString& ffmpeg, const QString& ffprobe)
{
    m_ffmpeg = ffmpeg;
    m_ffprobe = ffprobe;
}

QString VXLClipExporter::sidecarPath(const QString& outputPath, const QString& suffix)
{
    QString base = outputPath;
    if (base.endsWith(QLatin1StringView(".mp4"), Qt::CaseInsensitive))
        base.chop(4);
    return base + u'.' + suffix;
}

void VXLClipExporter::start(const ClipExportRequest& request)
{
    if (m_running)
        return;
    m_running = true;
    m_finalizing = false;
    m_request = request;
    m_cancelled = std::make_shared<std::atomic<bool>>(false);
    const quint64 generation = ++m_generation;

    const auto refuse = [this](const QString& problem) {
        ClipExportResult result;
        result.problem = problem;
        QMetaObject::invokeMethod(
            this, [this, result] { finish(result); }, Qt::QueuedConnection);
    };
    const QFileInfo target(request.outputPath);
    if (request.outputPath.isEmpty() || target.isDir()) {
        refuse(QStringLiteral("Choose a file name for the clip."));
        return;
    }
    for (const VXLMediaPtr& media : request.list.medias) {
        if (QFileInfo(media->path()) == target) {
            refuse(QStringLiteral("%1 is a recording of the card: choose another name for the "
                                  "clip.")
                       .arg(target.fileName()));
            return;
        }
    }
    // The new file is made now: an unwritable folder is reported before any work is done.
    m_output = std::make_shared<SafeFileWriter>(request.outputPath);
    if (!m_output->open(QIODevice::WriteOnly)) {
        refuse(QStringLiteral("%1 cannot be written: %2")
                   .arg(request.outputPath, m_output->errorString()));
        return;
    }

    const QString ffprobe = m_ffprobe;
    std::shared_ptr<std::atomic<bool>> cancelled = m_cancelled;
    m_worker.start([this, request, ffprobe, cancelled, generation] {
        std::shared_ptr<PreparedClip> prepared = prepareClip(request, ffprobe, *cancelled);
        QMetaObject::invokeMethod(
            this,
            [this, prepared, generation] {
                if (generation == m_generation && m_running)
                    startEncoding(prepared);
            },
            Qt::QueuedConnection);
    });
}

void VXLClipExporter::startEncoding(std::shared_ptr<PreparedClip> clip)
{
    if (*m_cancelled) {
        finish(cancelledResult());
        return;
    }
    if (!clip->problem.isEmpty()) {
        ClipExportResult result;
        result.problem = clip->problem;
        finish(result);
        return;
    }
    m_prepared = clip;
    Q_EMIT prepared(clip->plan.duration(), clip->notes);

    m_progress = ClipProgressParser();
    m_errorText.clear();
    auto* process = new QProcess(this);
    m_process = process;
    process->setWorkingDirectory(clip->work->path());
    connect(process, &QProcess::readyReadStandardOutput, this, &VXLClipExporter::readProgress);
    connect(process, &QProcess::readyReadStandardError, this, [this, process] {
        // The last lines say why ffmpeg stopped; keep a bounded tail.
        m_errorText += process->readAllStandardError();
        if (m_errorText.size() > 16384)
            m_errorText = m_errorText.right(8192);
    });
    connect(process, &QProcess::finished, this, &VXLClipExporter::encodingEnded);
    connect(process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        ClipExportResult result;
        result.problem = QStringLiteral("ffmpeg cannot be run (install the ffmpeg package).");
        finish(result);
    });
    if (m_lowPriority)
        process->setChildProcessModifier([] { (void)::setpriority(PRIO_PROCESS, 0, 10); });
    m_encodingTime.start();
    Q_EMIT progressChanged(0, -1);
    process->start(m_ffmpeg, ffmpegArguments(clip->plan, m_output->temporaryPath()));
}

void VXLClipExporter::readProgress()
{
    if (!m_process)
        return;
    if (!m_progress.feed(m_process->readAllStandardOutput()))
        return;
    const double duration = m_prepared->plan.duration();
    const double share = std::clamp(m_progress.encodedSeconds() / duration, 0.0, 1.0);
    const double elapsed = double(m_encodingTime.elapsed()) / 1000.0;
    double left = -1;
    if (share >= 0.02 && elapsed >= 1.0)
        left = elapsed * (1.0 - share) / share;
    Q_EMIT progressChanged(share, left);
}

QString VXLClipExporter::encoderFailure() const
{
    static const QRegularExpression context(QStringLiteral("^\\[[^\\]]* @ 0x[0-9a-f]+\\]\\s*"));
    // What the system refused, whatever ffmpeg guessed around it ("incorrect codec
    // parameters ?" for a full disk).
    static const QRegularExpression systemReason(
        QStringLiteral(": (No space left on device|Disk quota exceeded|File too large|"
                       "Input/output error|Read-only file system|Permission denied)\\s*$"));
    const QStringList lines = QString::fromLocal8Bit(m_errorText).split(u'\n', Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        const QRegularExpressionMatch match = systemReason.match(line);
        if (match.hasMatch())
            return QStringLiteral("The clip cannot be written: %1.").arg(match.captured(1));
    }
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        QString line = lines[i].trimmed();
        line.remove(context);
        // ffmpeg's closing lines repeat that it failed, not why.
        if (line.isEmpty() || line.startsWith(QLatin1StringView("Error initializing output")) ||
            line.startsWith(QLatin1StringView("Conversion failed")))
            continue;
        return QStringLiteral("ffmpeg stopped: %1").arg(line);
    }
    return QStringLiteral("ffmpeg stopped without saying why.");
}

void VXLClipExporter::encodingEnded(int exitCode, QProcess::ExitStatus status)
{
    if (!m_process)
        return;
    readProgress();
    m_errorText += m_process->readAllStandardError();
    m_process->deleteLater();
    m_process = nullptr;
    if (*m_cancelled) {
        finish(cancelledResult());
        return;
    }
    if (status != QProcess::NormalExit || exitCode != 0) {
        ClipExportResult result;
        result.problem = encoderFailure();
        finish(result);
        return;
    }
    // Flushing a large file to a card takes a while: off this thread.
    m_finalizing = true;
    std::shared_ptr<PreparedClip> prepared = m_prepared;
    std::shared_ptr<SafeFileWriter> output = m_output;
    const QString outputPath = m_request.outputPath;
    const quint64 generation = m_generation;
    m_worker.start([this, prepared, output, outputPath, generation] {
        ClipExportResult result;
        finalizeClip(*prepared, *output, outputPath, result);
        QMetaObject::invokeMethod(
            this,
            [this, result, generation] {
                if (generation == m_generation)
                    finish(result);
            },
            Qt::QueuedConnection);
    });
}

void VXLClipExporter::cancel()
{
    if (!m_running || m_finalizing)
        return;
    *m_cancelled = true;
    if (m_process) {
        // The answer comes with the end of the process.
        m_process->kill();
        return;
    }
    // Preparing: the worker's result will be dropped.
    ++m_generation;
    finish(cancelledResult());
}

void VXLClipExporter::finish(ClipExportResult result)
{
    if (!m_running)
        return;
    if (result.status == ClipExportResult::Status::Cancelled && result.problem.isEmpty())
        result.problem = QStringLiteral("The export was cancelled; no file was written.");
    if (result.status != ClipExportResult::Status::Written) {
        if (m_output)
            m_output->discard();
        result.gpxPath.clear();
        result.csvPath.clear();
    }
    if (m_prepared) {
        result.notes = m_prepared->notes + result.notes;
        result.duration = m_prepared->plan.duration();
        result.pictureSize = m_prepared->plan.geometry.picture;
    }
    if (m_process) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(5000);
        m_process->deleteLater();
        m_process = nullptr;
    }
    m_output.reset();
    m_prepared.reset();
    m_running = false;
    m_finalizing = false;
    Q_EMIT finished(result);
}
