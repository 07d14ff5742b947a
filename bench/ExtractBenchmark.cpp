// In-process time of the drive-data extraction of a 10-minute recording whose 6000 records
// are spread through about 1 GB of media data (made once by the sample maker, kept in the
// temporary folder; VEXLO_BENCH_RECORDING names another file).
#include "drivedata/DriveDataDisplay.h"
#include "drivedata/VXLBlackBoxData.h"

#include "samplecard/SampleCard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

QString longRecording()
{
    static const QString path = [] {
        const QByteArray named = qgetenv("VEXLO_BENCH_RECORDING");
        const QString file = named.isEmpty()
                                 ? QDir::temp().filePath(QStringLiteral("vexlo-bench-10min.MP4"))
                                 : QString::fromLocal8Bit(named);
        if (!QFileInfo::exists(file)) {
            std::fprintf(stderr, "making %s ...\n", qPrintable(file));
            QString error;
            if (!samplecard::makeLongRecording(file, 10, 1000LL * 1000 * 1000, 1, &error)) {
                std::fprintf(stderr, "cannot make the recording: %s\n", qPrintable(error));
                std::exit(2);
            }
        }
        return file;
    }();
    return path;
}

void BM_ExtractStreamInformation(benchmark::State& state)
{
    const QByteArray path = QFile::encodeName(longRecording());
    VXLBlackBoxData data;
    for (auto _ : state) {
        if (!data.ExtractStreamInformation(path.constData()))
            state.SkipWithError("no drive data track");
        benchmark::DoNotOptimize(data.m_NMEAs().size());
    }
    state.counters["records"] = double(data.m_GSensors().size());
    state.counters["fixes"] = double(data.m_NMEAs().size());
    state.counters["bytes"] = double(QFileInfo(longRecording()).size());
}
BENCHMARK(BM_ExtractStreamInformation)->Unit(benchmark::kMillisecond);

// The display values of every record, as vexlo-tool extract computes its rows.
void BM_DisplayValuesForEveryRecord(benchmark::State& state)
{
    VXLBlackBoxData data;
    data.ExtractStreamInformation(longRecording());
    const qsizetype n = data.m_GSensors().size();
    for (auto _ : state) {
        for (qsizetype i = 0; i < n; ++i)
            benchmark::DoNotOptimize(driveDataDisplayValues(
                data.m_GSensors(), data.m_NMEAs(), data.m_vGpsData(), double(i) / double(n)));
    }
}
BENCHMARK(BM_DisplayValuesForEveryRecord)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
