#include "drivedata/DriveDataDisplay.h"
#include "drivedata/ui/GraphView.h"
#include "drivedata/ui/VXLDriveDataReadouts.h"
#include "drivedata/ui/VXLMapView.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>

// One full repaint of the G-sensor strip: the graph redraws entirely at every position change.
static void BM_GraphRepaint(benchmark::State& state)
{
    const int width = static_cast<int>(state.range(0));
    const int sampleCount = static_cast<int>(state.range(1));
    QList<VXLGSensor> samples;
    samples.reserve(sampleCount);
    for (int k = 0; k < sampleCount; ++k) {
        const float t = static_cast<float>(k) * 0.01f;
        samples.append(
            VXLGSensor(std::sin(t), 0.5f * std::cos(3 * t), -1.0f + 0.2f * std::sin(7 * t)));
    }
    GraphView view;
    view.resize(width, 130);
    if (!samples.isEmpty()) {
        view.setGraphData(samples);
    }
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    double position = 0.0;
    for (auto _ : state) {
        image.fill(Qt::black);
        view.updateTimePosition(position);
        QPainter painter(&image);
        view.drawGraph(painter);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
        position = position >= 1.0 ? 0.0 : position + 0.001;
    }
}
BENCHMARK(BM_GraphRepaint)
    ->Args({1200, 6000})
    ->Args({340, 3001})
    ->Args({1200, 0})
    ->Unit(benchmark::kMicrosecond);

// The work of one play-position change in the window, without the repaint: the record for
// the position, the six readout texts, the graph bar and the map script, over 6000 records.
static void BM_PositionChange(benchmark::State& state)
{
    constexpr int kRecords = 6000;
    QList<VXLGSensor> samples(kRecords, VXLGSensor(0.25f, -1.5f, 0.0f));
    QList<VXLAviGpsData> blocks(kRecords);
    QList<VXLGpsData> fixes;
    fixes.reserve(kRecords);
    for (int k = 0; k < kRecords; ++k) {
        VXLGpsData fix;
        fix.Latitude = 3733.98 + k * 0.001;
        fix.Longitude = 12658.68;
        fix.SpeedOverGround = 10.0;
        fix.HDOP = 0.95;
        fix.SatelliteUsedCount = 9;
        fix.gpsValid = 1;
        fixes.append(fix);
    }
    GraphView graph;
    graph.resize(1200, 130);
    graph.setGraphData(samples);
    VXLDriveDataReadouts readouts;
    double position = 0.0;
    for (auto _ : state) {
        graph.updateTimePosition(position);
        const DriveDataDisplayValues values =
            driveDataDisplayValues(samples, fixes, blocks, position);
        readouts.showValues(values);
        benchmark::DoNotOptimize(VXLMapView::positionScript(values).size());
        position = position >= 1.0 ? 0.0 : position + 0.0007;
    }
}
BENCHMARK(BM_PositionChange)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
