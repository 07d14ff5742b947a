// Memory over many openings and the CPU the program uses while a pair plays and while it is
// paused. Opens the card's recordings one after another in the whole program (window, map,
// readouts), as a user double-clicking through an evening of recordings, and reports the
// resident memory after 1, 5, 10, 50 and 100 openings; then plays a pair for 10 s and holds
// it paused for 10 s, reporting the process's CPU in each and the busiest threads while
// paused. Needs a display (bench/openings.sh runs it under xvfb-run).
//
//   bench_openings CARD [OPENINGS]
#include "app/VXLAppDelegate.h"
#include "app/VXLApplication.h"
#include "app/playback/VXLPlaybackController.h"
#include "library/VXLMediaList.h"
#include "player/VXLPlayerInterface.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QSignalSpy>
#include <QTest>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <set>

namespace {

// The anonymous (heap), file-backed (code, data files) and shared parts of the resident set.
QString residentParts()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return {};
    QString parts;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("RssAnon:") || line.startsWith("RssFile:") ||
            line.startsWith("RssShmem:"))
            parts += (parts.isEmpty() ? QString() : QStringLiteral(", ")) +
                     QString::fromLatin1(line.simplified());
    }
    return parts;
}

double residentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    }
    return -1;
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// CPU ticks so far of each thread, by thread name (threads of one name added up).
QMap<QString, long> threadTicks()
{
    QMap<QString, long> ticks;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(tasks.filePath(task + QStringLiteral("/stat")));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        const qsizetype open = line.indexOf('(');
        const qsizetype close = line.lastIndexOf(')');
        if (open < 0 || close < open)
            continue;
        const QList<QByteArray> fields = line.mid(close + 2).split(' ');
        if (fields.size() < 13)
            continue;
        ticks[QString::fromLatin1(line.mid(open + 1, close - open - 1))] +=
            fields[11].toLong() + fields[12].toLong();
    }
    return ticks;
}

// The process's share of one core over `ms`, and the threads that used most of it.
double cpuPercentOver(int ms, QMap<QString, long>* busiest = nullptr)
{
    const QMap<QString, long> before = threadTicks();
    const double start = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QTest::qWait(ms);
    const double percent = 100.0 * (cpuSeconds() - start) / (double(wall.nsecsElapsed()) / 1e9);
    if (busiest) {
        const QMap<QString, long> after = threadTicks();
        for (auto it = after.begin(); it != after.end(); ++it)
            (*busiest)[it.key()] = it.value() - before.value(it.key());
    }
    return percent;
}

} // namespace

int main(int argc, char** argv)
{
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    qputenv("QT_QUICK_BACKEND", "software");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_openings CARD [OPENINGS]\n");
        return 2;
    }
    const int openings = argc > 2 ? std::max(1, atoi(argv[2])) : 100;

    VXLApplication application;
    VXLAppDelegate& delegate = application.delegate();
    delegate.applicationDidFinishLaunching();
    VXLPlaybackController* controller = application.playbackController();
    QSignalSpy scanned(application.mediaList(), &VXLMediaList::mediaListChanged);
    delegate.openMediaDirectory(QString::fromLocal8Bit(argv[1]));
    if (!QTest::qWaitFor([&] { return scanned.count() > 0; }, 10000) ||
        application.mediaList()->count() < 4) {
        std::fprintf(stderr, "no card at %s\n", argv[1]);
        return 1;
    }
    const qsizetype rows = application.mediaList()->count();
    std::printf("resident memory before any opening: %.0f MiB\n", residentMiB());

    const std::set<int> reported{1, 5, 10, 20, 50, 100, openings};
    for (int opening = 1; opening <= openings; ++opening) {
        QSignalSpy finished(controller, &VXLPlaybackController::openingFinished);
        controller->changeAndPlay((opening - 1) % rows);
        if (!QTest::qWaitFor([&] { return finished.count() > 0; }, 20000)) {
            std::fprintf(stderr, "opening %d did not finish\n", opening);
            return 1;
        }
        QTest::qWait(700);
        if (reported.count(opening))
            std::printf("resident memory after %3d openings: %.0f MiB (%s)\n", opening,
                        residentMiB(), qPrintable(residentParts()));
        std::fflush(stdout);
    }

    // A pair plays: the card's first row (a front with its rear partner).
    QSignalSpy finished(controller, &VXLPlaybackController::openingFinished);
    controller->playAtIndex(0);
    if (!QTest::qWaitFor([&] { return finished.count() > 0; }, 20000)) {
        std::fprintf(stderr, "the pair did not start\n");
        return 1;
    }
    QTest::qWait(1500);
    std::printf("CPU while a pair plays: %.1f %% of one core (10 s)\n", cpuPercentOver(10000));
    controller->clickPlayButton();
    QTest::qWait(1500);
    QMap<QString, long> threads;
    std::printf("CPU while paused:       %.1f %% of one core (10 s)\n",
                cpuPercentOver(10000, &threads));
    QList<std::pair<long, QString>> ranked;
    for (auto it = threads.begin(); it != threads.end(); ++it) {
        if (it.value() > 0)
            ranked.append({it.value(), it.key()});
    }
    std::sort(ranked.begin(), ranked.end(), std::greater<>());
    const long ticksPerSecond = sysconf(_SC_CLK_TCK);
    for (const auto& [ticks, name] : ranked.mid(0, 6))
        std::printf("  paused, thread %-16s %.2f s of CPU\n", qPrintable(name),
                    double(ticks) / double(ticksPerSecond));
    application.die();
    return 0;
}
