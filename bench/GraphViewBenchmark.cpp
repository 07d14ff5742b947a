#include "drivedata/ui/GraphView.h"

#include <QApplication>
#include <QImage>
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
    view.setGraphData(samples);
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
BENCHMARK(BM_GraphRepaint)->Args({1200, 6000})->Args({340, 3001})->Unit(benchmark::kMicrosecond);

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
