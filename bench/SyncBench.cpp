// How well the two views stay in step, in frames: the sample recordings carry their frame
// number in their pictures, and this reads the number each view shows from the frames libVLC
// hands over. It plays a long front/rear pair in the whole program (window, map, readouts),
// moves the slider, jumps, swaps and resumes as a user does, and reports the master's frame
// minus the partner's 1 s and 2 s after each action; then it lets the pair play on and
// reports the offsets through plain playback.
//
//   bench_sync [--pair DIR] [--minutes M] [--busy N] [--rounds R]
//
// --pair: where the long pair is made (kept for the next run); --minutes: its length and the
// stretch of plain playback (default 5); --busy: that many busy processes run beside it;
// --rounds: slider moves and jumps (default 20; swaps and resumes half as many).
// Runs on the offscreen platform, where the views receive libVLC's frames in memory.
#include "app/VXLAppDelegate.h"
#include "app/VXLApplication.h"
#include "app/VXLMainWindow.h"
#include "app/playback/VXLPlayInfo.h"
#include "app/playback/VXLPlaybackController.h"
#include "library/VXLMediaList.h"
#include "player/VLCVideoView.h"
#include "samplecard/FrameCode.h"
#include "samplecard/RecordingWriter.h"
#include "samplecard/SampleCard.h"
#include "samplecard/SimulatedDrive.h"
#include "widgets/GWSlider.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

namespace {

// Makes (once) a front/rear pair of `minutes` in DIR/DCIM/ALWA, as the sample card's are.
bool makeLongPair(const QString& dir, int minutes)
{
    const QString folder = QDir(dir).filePath(QStringLiteral("DCIM/ALWA"));
    const QString base = QDir(folder).filePath(QStringLiteral("alwa_20240101_120000_"));
    if (QFile::exists(base + "F.MP4") && QFile::exists(base + "R.MP4"))
        return true;
    QDir().mkpath(folder);
    samplecard::DriveOptions drive;
    drive.seconds = minutes * 60;
    const QList<samplecard::DriveRecord> records = samplecard::simulateDrive(drive);
    for (const bool front : {true, false}) {
        samplecard::VideoOptions video;
        video.seconds = minutes * 60;
        if (!front) {
            video.width = 640;
            video.height = 360;
            video.withSound = false;
            video.kilobitsPerSecond = 300;
        }
        std::fprintf(stderr, "making the %s recording of %d minutes...\n", front ? "front" : "rear",
                     minutes);
        QString error;
        const QString plain = QDir(dir).filePath(QStringLiteral("plain.mp4"));
        QFile source(plain);
        if (!samplecard::makeTestVideo(video, plain, &error) || !source.open(QIODevice::ReadOnly) ||
            !samplecard::writeRecording(source.readAll(), records,
                                        base + (front ? "F.MP4" : "R.MP4"), &error)) {
            std::fprintf(stderr, "cannot make the pair: %s\n", qPrintable(error));
            return false;
        }
        source.remove();
    }
    return true;
}

struct Views
{
    VLCVideoView* master;
    VLCVideoView* partner;

    // Master minus partner, in frames; none while either picture carries no number.
    std::optional<int> offset() const
    {
        const int m = samplecard::readFrameCode(master->currentFrame());
        const int p = samplecard::readFrameCode(partner->currentFrame());
        if (m < 0 || p < 0)
            return std::nullopt;
        return m - p;
    }
};

// Offsets after one action: the median of what the views show around 1 s and 2 s, and when
// the two came within 2 frames for good (within the 2.5 s watched).
struct ActionResult
{
    std::optional<int> at1s;
    std::optional<int> at2s;
    double settledMs = -1;
};

std::optional<int> medianOf(std::vector<int> values)
{
    if (values.empty())
        return std::nullopt;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool g_trace = false;

// `stepMs`: when the action's last step comes (a swap sets both players' positions 0.8 s
// after it): the offsets are read 1 s and 2 s after that.
ActionResult watch(const Views& views, double stepMs = 0)
{
    QElapsedTimer clock;
    clock.start();
    std::vector<int> around1s;
    std::vector<int> around2s;
    double lastOutside = 0;
    while (double(clock.elapsed()) < stepMs + 2500) {
        QTest::qWait(20);
        const double t = double(clock.elapsed()) - stepMs;
        const std::optional<int> offset = views.offset();
        if (g_trace)
            std::fprintf(stderr, "bench: %5.0f ms offset %d\n", t, offset.value_or(9999));
        if (t < 0)
            continue;
        if (!offset || std::abs(*offset) > 2)
            lastOutside = t;
        if (!offset)
            continue;
        if (t >= 900 && t <= 1100)
            around1s.push_back(std::abs(*offset));
        if (t >= 1900 && t <= 2100)
            around2s.push_back(std::abs(*offset));
    }
    return {medianOf(around1s), medianOf(around2s), lastOutside < 2400 ? lastOutside : -1};
}

struct Summary
{
    std::vector<int> at1s;
    std::vector<int> at2s;
    std::vector<double> settled;
    int unsettled = 0;
    int unread = 0;

    const char* name = "";

    void add(const ActionResult& r)
    {
        // Each action on standard error, to set beside a log.
        std::fprintf(stderr, "bench: %s %zu: |offset| %d at 1 s, %d at 2 s, settled %.0f ms\n",
                     name, at1s.size() + size_t(unread) + 1, r.at1s.value_or(-1),
                     r.at2s.value_or(-1), r.settledMs);
        if (r.at1s)
            at1s.push_back(*r.at1s);
        else
            ++unread;
        if (r.at2s)
            at2s.push_back(*r.at2s);
        if (r.settledMs >= 0)
            settled.push_back(r.settledMs);
        else
            ++unsettled;
    }
};

double percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return NAN;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(share * double(values.size())))];
}

std::vector<double> asDoubles(const std::vector<int>& values)
{
    return {values.begin(), values.end()};
}

double shareWithin(const std::vector<int>& values, int frames)
{
    if (values.empty())
        return NAN;
    return 100.0 *
           double(std::count_if(values.begin(), values.end(), [&](int v) { return v <= frames; })) /
           double(values.size());
}

void printRow(const char* name, const Summary& s)
{
    std::printf(
        "| %-13s | %3zu | %4.0f | %4.0f | %4.0f | %5.0f %% | %4.0f | %4.0f | %6.0f | %6.0f |\n",
        name, s.at1s.size() + size_t(s.unread), percentile(asDoubles(s.at1s), 0.5),
        percentile(asDoubles(s.at1s), 0.9),
        s.at1s.empty() ? NAN : double(*std::max_element(s.at1s.begin(), s.at1s.end())),
        shareWithin(s.at1s, 2), percentile(asDoubles(s.at2s), 0.5),
        s.at2s.empty() ? NAN : double(*std::max_element(s.at2s.begin(), s.at2s.end())),
        percentile(s.settled, 0.5), percentile(s.settled, 0.9));
}

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()).section(' ', 0, 2)
                                          : QStringLiteral("?");
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    qputenv("QT_QUICK_BACKEND", "software");
    QApplication app(argc, argv);

    QString pairDir = QDir::temp().filePath(QStringLiteral("vexlo-bench-pair"));
    int minutes = 5;
    int busy = 0;
    int rounds = 20;
    const QStringList args = app.arguments();
    g_trace = args.contains(QStringLiteral("--trace"));
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--trace")) {
            --i;
            continue;
        }
        if (args[i] == QLatin1String("--pair"))
            pairDir = args[i + 1];
        else if (args[i] == QLatin1String("--minutes"))
            minutes = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--busy"))
            busy = std::max(0, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--rounds"))
            rounds = std::max(2, args[i + 1].toInt());
    }
    if (!makeLongPair(pairDir, minutes))
        return 1;

    std::vector<std::unique_ptr<QProcess>> busyProcesses;
    for (int i = 0; i < busy; ++i) {
        auto process = std::make_unique<QProcess>();
        process->start(QStringLiteral("sh"),
                       {QStringLiteral("-c"), QStringLiteral("while :; do :; done")});
        busyProcesses.push_back(std::move(process));
    }

    VXLApplication application;
    VXLAppDelegate& delegate = application.delegate();
    delegate.applicationDidFinishLaunching();
    VXLMainWindow* window = application.mainWindow();
    VXLPlaybackController* controller = application.playbackController();
    QSignalSpy scanned(application.mediaList(), &VXLMediaList::mediaListChanged);
    delegate.openMediaDirectory(pairDir);
    if (!QTest::qWaitFor([&] { return scanned.count() > 0; }, 10000) ||
        application.mediaList()->count() != 2) {
        std::fprintf(stderr, "no pair in %s\n", qPrintable(pairDir));
        return 1;
    }
    QSignalSpy opened(controller, &VXLPlaybackController::openingFinished);
    controller->playAtIndex(0);
    if (!QTest::qWaitFor([&] { return opened.count() > 0; }, 20000) ||
        !opened.first().first().toBool()) {
        std::fprintf(stderr, "the pair did not start\n");
        return 1;
    }
    const Views views{window->findChild<VLCVideoView*>(QStringLiteral("video1View")),
                      window->findChild<VLCVideoView*>(QStringLiteral("video2View"))};
    auto* slider = window->findChild<GWSlider*>(QStringLiteral("videoPositionSlider"));
    const auto action = [window](const char* name) {
        return window->findChild<QAction*>(QString::fromLatin1(name));
    };
    QTest::qWait(2000);

    std::printf("load average before: %s; %d busy processes beside; pair of %d minutes\n\n",
                qPrintable(loadAverage()), busy, minutes);
    QRandomGenerator random(7);
    const double length = minutes * 60.0;
    const auto masterSeconds = [&] {
        return application.playInfo()->position() * length;
    };
    const auto moveTo = [&](double fraction) {
        Q_EMIT slider->userMoved(fraction);
        QTest::qWait(2500);
    };

    Summary sliderMoves, jumps, swaps, resumes;
    sliderMoves.name = "slider move";
    jumps.name = "jump";
    swaps.name = "swap";
    resumes.name = "resume";
    for (int i = 0; i < rounds; ++i) {
        Q_EMIT slider->userMoved(0.05 + 0.85 * random.generateDouble());
        sliderMoves.add(watch(views));
    }
    for (int i = 0; i < rounds; ++i) {
        const bool forward = i % 2 == 0;
        if (masterSeconds() < 15 || masterSeconds() > length - 30)
            moveTo(0.5);
        action(forward ? "actionJumpForward" : "actionJumpBackward")->trigger();
        jumps.add(watch(views));
    }
    for (int i = 0; i < rounds / 2; ++i) {
        action("actionSwap")->trigger();
        swaps.add(watch(views, 800));
    }
    for (int i = 0; i < rounds / 2; ++i) {
        action("actionPlayPause")->trigger();
        QTest::qWait(700);
        action("actionPlayPause")->trigger();
        resumes.add(watch(views));
    }

    std::printf("Master frame minus partner frame after each action (frames of 1/30 s; "
                "median, 90th percentile and largest of |offset|; a swap is read from the "
                "moment it sets the players' positions, 0.8 s after the click):\n\n");
    std::printf("| action        |   n | 1 s median | 90 %% | max | within 2 | 2 s median | max "
                "| settled median ms | 90 %% ms |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|\n");
    printRow("slider move", sliderMoves);
    printRow("jump", jumps);
    printRow("swap", swaps);
    printRow("resume", resumes);

    // Plain playback from the start of the pair.
    moveTo(0.0);
    std::vector<int> steady;
    int unread = 0;
    QElapsedTimer clock;
    clock.start();
    const qint64 stretchMs = qint64(std::min(minutes * 60.0 - 10, minutes * 60.0 * 0.95) * 1000);
    while (clock.elapsed() < stretchMs) {
        QTest::qWait(100);
        if (const std::optional<int> offset = views.offset())
            steady.push_back(std::abs(*offset));
        else
            ++unread;
    }
    std::printf("\nPlain playback, %.0f s sampled every 100 ms (%zu readings, %d unreadable): "
                "|offset| median %.0f, 99th percentile %.0f, max %.0f frames; within 1 frame "
                "%.1f %%, within 2 frames %.1f %%\n",
                double(stretchMs) / 1000, steady.size(), unread, percentile(asDoubles(steady), 0.5),
                percentile(asDoubles(steady), 0.99),
                steady.empty() ? NAN : double(*std::max_element(steady.begin(), steady.end())),
                shareWithin(steady, 1), shareWithin(steady, 2));
    std::printf("load average after: %s\n", qPrintable(loadAverage()));

    for (auto& process : busyProcesses) {
        process->kill();
        process->waitForFinished();
    }
    application.die();
    return 0;
}
