#pragma once

#include "ClipEncoding.h"
#include "library/VXLMediaList.h"

#include <QElapsedTimer>
#include <QMetaType>
#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QThreadPool>

#include <atomic>
#include <memory>

class SafeFileWriter;
struct PreparedClip;

// What to export: a span of a recording (the chosen camera), how, and where to.
struct ClipExportRequest
{
    QString recordingPath;
    // Seconds from the start of the recording; `to` may lie in the recordings that follow it
    // directly.
    double from = 0;
    double to = 0;
    ClipLayout layout = ClipLayout::SideBySide;
    bool overlay = true;
    ClipQuality quality = ClipQuality::Fast;
    // Speeds in mi/h (the card's settings), else km/h.
    bool miles = false;
    QString outputPath;
    // The recordings of the card: partners and following recordings are found here.
    VXLMediaList::Content list;
};

struct ClipExportResult
{
    enum class Status { Written, Cancelled, Failed };
    Status status = Status::Failed;
    QString outputPath;
    // The drive data of the span beside the clip; empty when the span has none.
    QString gpxPath;
    QString csvPath;
    // Why nothing was written (Failed, Cancelled).
    QString problem;
    // What the clip leaves out (one camera only, no drive data), one sentence each.
    QStringList notes;
    double duration = 0;
    QSize pictureSize;
};
Q_DECLARE_METATYPE(ClipExportResult)

// Exports one clip: finds the span's recordings and their partners, reads their lengths and
// drive data (on a worker thread), runs ffmpeg with progress, and puts the MP4 with its GPX
// and CSV in place when it is complete. The MP4 is written under a new hidden name beside the
// target and renamed over it at the end: cancelled, failed or on a full disk, nothing is left.
//
// Lives on a thread with an event loop (the GUI thread, or vexlo-tool's); one export at a time.
class VXLClipExporter : public QObject
{
    Q_OBJECT

public:
    explicit VXLClipExporter(QObject* parent = nullptr);
    ~VXLClipExporter() override; // an export still running is cancelled

    // The programs to run; "ffmpeg" and "ffprobe" from PATH by default.
    void setPrograms(const QString& ffmpeg, const QString& ffprobe);

    // ffmpeg runs niced, so that playback beside it keeps its share of the processor.
    void setLowPriority(bool low) { m_lowPriority = low; }

    bool isRunning() const { return m_running; }
    // Starts the export; the answer comes through finished(), also for a request that cannot
    // be exported (then at once, from the event loop).
    void start(const ClipExportRequest& request);
    // Stops the export and removes what it wrote; finished() reports Cancelled. Too late once
    // the files are being put in place: that ends as it would have.
    void cancel();

    // The files written beside `outputPath`: its name with ".gpx" and ".csv" in place of
    // ".mp4".
    static QString sidecarPath(const QString& outputPath, const QString& suffix);

Q_SIGNALS:
    // The span is known: its length and what the clip leaves out. Encoding starts now.
    void prepared(double duration, const QStringList& notes);
    // The share of the clip encoded (0..1) and the seconds it will still take (-1 until an
    // estimate can be made).
    void progressChanged(double share, double secondsLeft);
    void finished(const ClipExportResult& result);

private:
    void startEncoding(std::shared_ptr<PreparedClip> clip);
    void readProgress();
    void encodingEnded(int exitCode, QProcess::ExitStatus status);
    void finish(ClipExportResult result);
    QString encoderFailure() const;

    QString m_ffmpeg = QStringLiteral("ffmpeg");
    QString m_ffprobe = QStringLiteral("ffprobe");
    bool m_lowPriority = false;
    bool m_running = false;
    bool m_finalizing = false;
    std::shared_ptr<std::atomic<bool>> m_cancelled;
    quint64 m_generation = 0;
    ClipExportRequest m_request;
    std::shared_ptr<PreparedClip> m_prepared;
    std::shared_ptr<SafeFileWriter> m_output;
    QPointer<QProcess> m_process;
    QByteArray m_errorText;
    ClipProgressParser m_progress;
    QElapsedTimer m_encodingTime;
    QThreadPool m_worker;
};
