#include "CommandOutput.h"
#include "Commands.h"

#include "clipexport/VXLClipExporter.h"
#include "library/VXLMediaList.h"
#include "settings/FileData.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include <cmath>
#include <csignal>
#include <cstdio>

#include <unistd.h>

const char* const kClipUsage =
    "Usage: vexlo-tool clip RECORDING --from SECONDS --to SECONDS -o OUT.mp4\n"
    "                       [--layout sbs|pip|single] [--overlay|--no-overlay]\n"
    "                       [--quality fast|high] [--card DIR]\n"
    "\n"
    "Exports one MP4 of a span of a recording with the other camera's recording of the same\n"
    "moment: H.264 and AAC, playable while it uploads, with the drive data (date and time,\n"
    "speed, coordinates, G values) burned into the picture (--no-overlay leaves it out) and\n"
    "always as a subtitle track. OUT.gpx and OUT.csv beside it hold the span's drive data.\n"
    "  --from, --to  seconds from the start of RECORDING; the span may run on into the\n"
    "                recordings of the same mode and camera that follow it directly\n"
    "  --layout      sbs: front and rear side by side (default); pip: the rear in a corner\n"
    "                of the front; single: RECORDING's camera alone\n"
    "  --quality     fast: a fast preset at sharing size (default); high: for keeping\n"
    "  --card DIR    the card whose recordings and settings are used; by default the nearest\n"
    "                folder above RECORDING holding config.bin or DCIM, else its own folder\n"
    "Speeds are in mi/h when the card's config.bin says so, else in km/h. Progress goes to\n"
    "stderr; the files written are printed on stdout. The MP4 appears only when it is\n"
    "complete: interrupted, failed or on a full disk, nothing is left. Needs ffmpeg.\n";

namespace {

volatile std::sig_atomic_t g_interrupted = 0;

void interrupt(int)
{
    g_interrupted = 1;
}

QString findCardFolder(const QString& recording)
{
    QDir folder = QFileInfo(recording).absoluteDir();
    const QDir own = folder;
    for (int level = 0; level < 8; ++level) {
        if (QFileInfo(folder.filePath(QStringLiteral("config.bin"))).isFile() ||
            QFileInfo(folder.filePath(QStringLiteral("DCIM"))).isDir())
            return folder.absolutePath();
        if (!folder.cdUp())
            break;
    }
    return own.absolutePath();
}

// The card's speed unit: the low byte of speed_disp_unit, as the main window reads it.
bool cardSaysMiles(const QString& cardFolder)
{
    _FILEDATA record;
    if (!readFileData(QDir(cardFolder).filePath(QStringLiteral("config.bin")), &record))
        return false;
    return (record.speed_disp_unit & 0xFFu) != 0;
}

bool parseSeconds(const QString& text, double* value)
{
    bool ok = false;
    *value = text.toDouble(&ok);
    return ok && std::isfinite(*value);
}

QString timeText(double seconds)
{
    const auto whole = qint64(std::ceil(seconds));
    return QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
}

// Progress on stderr: one line kept up to date on a terminal, a line per tenth otherwise.
class ProgressPrinter
{
public:
    ProgressPrinter() : m_terminal(::isatty(STDERR_FILENO) == 1) {}

    void show(double share, double secondsLeft)
    {
        const int percent = int(share * 100);
        if (!m_terminal && percent / 10 == m_lastTenth)
            return;
        m_lastTenth = percent / 10;
        QString line = QStringLiteral("clip: %1% encoded").arg(percent);
        if (secondsLeft >= 0)
            line += QStringLiteral(", %1 left").arg(timeText(secondsLeft));
        if (m_terminal) {
            const QByteArray text = "\r" + line.toLocal8Bit() + "\033[K";
            std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
            m_open = true;
        } else {
            CommandOutput::writeError(line);
        }
    }
    void end()
    {
        if (m_open)
            std::fputc('\n', stderr);
        m_open = false;
    }

private:
    bool m_terminal;
    bool m_open = false;
    int m_lastTenth = -1;
};

} // namespace

int runClipCommand(const QStringList& args)
{
    ClipExportRequest request;
    QString recording;
    QString cardFolder;
    bool haveFrom = false;
    bool haveTo = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if ((arg == u"--from" || arg == u"--to") && hasValue) {
            double value = 0;
            if (!parseSeconds(args[i + 1], &value))
                return CommandOutput::usageError(
                    "clip", QStringLiteral("%1 takes seconds, not \"%2\"").arg(arg, args[i + 1]));
            (arg == u"--from" ? request.from : request.to) = value;
            (arg == u"--from" ? haveFrom : haveTo) = true;
            ++i;
        } else if (arg == u"--layout" && hasValue) {
            const std::optional<ClipLayout> layout = clipLayoutFromName(args[++i]);
            if (!layout)
                return CommandOutput::usageError(
                    "clip",
                    QStringLiteral("unknown layout \"%1\" (sbs, pip or single)").arg(args[i]));
            request.layout = *layout;
        } else if (arg == u"--quality" && hasValue) {
            const std::optional<ClipQuality> quality = clipQualityFromName(args[++i]);
            if (!quality)
                return CommandOutput::usageError(
                    "clip", QStringLiteral("unknown quality \"%1\" (fast or high)").arg(args[i]));
            request.quality = *quality;
        } else if (arg == u"--overlay" || arg == u"--no-overlay") {
            request.overlay = arg == u"--overlay";
        } else if ((arg == u"-o" || arg == u"--output") && hasValue) {
            request.outputPath = args[++i];
        } else if (arg == u"--card" && hasValue) {
            cardFolder = args[++i];
        } else if (recording.isEmpty() && !arg.startsWith(u'-')) {
            recording = arg;
        } else {
            return CommandOutput::usageError("clip",
                                             QStringLiteral("unexpected argument \"%1\"").arg(arg));
        }
    }
    if (recording.isEmpty())
        return CommandOutput::usageError("clip", QStringLiteral("expected one recording"));
    if (!haveFrom || !haveTo)
        return CommandOutput::usageError("clip", QStringLiteral("expected --from and --to"));
    if (request.outputPath.isEmpty())
        return CommandOutput::usageError("clip", QStringLiteral("expected -o OUT.mp4"));
    if (!QFileInfo(recording).isFile()) {
        CommandOutput::writeError(QStringLiteral("clip: cannot read %1: %2")
                                      .arg(recording, QFileInfo::exists(recording)
                                                          ? QStringLiteral("not a file")
                                                          : QStringLiteral("no such file")));
        return 2;
    }

    if (cardFolder.isEmpty())
        cardFolder = findCardFolder(recording);
    request.recordingPath = QFileInfo(recording).absoluteFilePath();
    request.outputPath = QFileInfo(request.outputPath).absoluteFilePath();
    request.list = VXLMediaList::scanDirectory(QFileInfo(cardFolder).absoluteFilePath());
    request.miles = cardSaysMiles(cardFolder);

    // QProcess needs an event loop; the one command that runs a long child makes one.
    static int argc = 1;
    static char name[] = "vexlo-tool";
    static char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    g_interrupted = 0;
    std::signal(SIGINT, interrupt);
    std::signal(SIGTERM, interrupt);

    VXLClipExporter exporter;
    ProgressPrinter progress;
    int exitCode = 2;
    QObject::connect(&exporter, &VXLClipExporter::prepared, &exporter,
                     [](double duration, const QStringList& notes) {
                         for (const QString& note : notes)
                             CommandOutput::writeError(QStringLiteral("clip: %1").arg(note));
                         CommandOutput::writeError(
                             QStringLiteral("clip: encoding %1 s").arg(duration, 0, 'f', 1));
                     });
    QObject::connect(&exporter, &VXLClipExporter::progressChanged, &exporter,
                     [&progress](double share, double left) { progress.show(share, left); });
    QObject::connect(
        &exporter, &VXLClipExporter::finished, &exporter, [&](const ClipExportResult& result) {
            progress.end();
            if (result.status == ClipExportResult::Status::Written) {
                for (const QString& path : {result.outputPath, result.gpxPath, result.csvPath})
                    if (!path.isEmpty())
                        CommandOutput::writeOut(path.toLocal8Bit() + '\n');
                exitCode = 0;
            } else {
                CommandOutput::writeError(
                    QStringLiteral("clip: %1")
                        .arg(g_interrupted ? QStringLiteral("interrupted; no file was written")
                                           : result.problem));
            }
            QCoreApplication::quit();
        });
    // A signal only sets a flag; the loop turns it into a cancel that removes the new file.
    QTimer interruptions;
    QObject::connect(&interruptions, &QTimer::timeout, &exporter, [&exporter] {
        if (g_interrupted)
            exporter.cancel();
    });
    interruptions.start(100);
    exporter.start(request);
    QCoreApplication::exec();
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    return exitCode;
}
