// Times the main window's openings on a card: from a double click on a list row to both
// players playing, then the CPU the process uses while a pair plays and its peak memory.
// Needs a display (run it under xvfb-run: bench/playback.sh does).
//
//   bench_playback_start CARD [ROUNDS]
#include "app/VXLAppDelegate.h"
#include "app/VXLApplication.h"
#include "app/playback/VXLPlaybackController.h"
#include "library/VXLMediaList.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char** argv)
{
    // As the program does: the map's web engine refuses root with its sandbox on, and shares
    // GL contexts with the widgets.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    qputenv("QT_QUICK_BACKEND", "software");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_playback_start CARD [ROUNDS]\n");
        return 2;
    }
    const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 10;

    VXLApplication application;
    VXLAppDelegate& delegate = application.delegate();
    delegate.applicationDidFinishLaunching();
    QSignalSpy scanned(delegate.mediaList(), &VXLMediaList::mediaListChanged);
    delegate.openMediaDirectory(QString::fromLocal8Bit(argv[1]));
    if (!scanned.wait(10000) || delegate.mediaList()->count() < 4) {
        std::fprintf(stderr, "no card with two pairs at %s\n", argv[1]);
        return 1;
    }
    auto* table = delegate.window()->findChild<QTableView*>(QStringLiteral("mediaListTableView"));
    VXLPlaybackController* controller = delegate.playbackController();
    QTest::qWait(500);

    // Rows 0 and 2 are the fronts of the card's first two pairs: each double click is a
    // fresh opening of a pair.
    std::vector<double> startMs;
    for (int round = 0; round < rounds; ++round) {
        const int row = (round % 2) * 2;
        const QRect cell = table->visualRect(table->model()->index(row, 3));
        QSignalSpy finished(controller, &VXLPlaybackController::openingFinished);
        QElapsedTimer timer;
        timer.start();
        // A double click is a press and release followed by a second press reported as
        // a double click; the view plays on the second.
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        if (!finished.wait(15000) || !finished.first().first().toBool()) {
            std::fprintf(stderr, "round %d: the pair did not start (row %d, playing row %lld)\n",
                         round, row, static_cast<long long>(controller->mediaIndex()));
            return 1;
        }
        startMs.push_back(timer.nsecsElapsed() / 1e6);
        QTest::qWait(1000);
    }
    std::sort(startMs.begin(), startMs.end());
    std::printf("double click to both playing: median %.0f ms, min %.0f ms, max %.0f ms "
                "(%d openings)\n",
                startMs[startMs.size() / 2], startMs.front(), startMs.back(), rounds);

    // Both players of the last pair play on; measure a quiet stretch of it.
    QTest::qWait(1000);
    const double cpuBefore = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QTest::qWait(10000);
    const double cpuPercent = 100.0 * (cpuSeconds() - cpuBefore) / (wall.nsecsElapsed() / 1e9);
    std::printf("CPU while both play: %.0f %% of one core (10 s)\n", cpuPercent);
    std::printf("peak memory: %.1f MiB\n", peakKilobytes() / 1024.0);
    return 0;
}
