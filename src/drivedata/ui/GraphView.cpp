#include "GraphView.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kAreaLeft = 20.0;
constexpr double kAreaBottom = 8.0;
// Each point of the area's width carries this many plot steps.
constexpr int kStepsPerPoint = 10;
const QColor kGridColour = QColor::fromRgbF(0.8f, 0.8f, 0.8f);

} // namespace

GraphView::GraphView(QWidget* parent) : QWidget(parent)
{
    m_labelFont.setFamily(QStringLiteral("helvetica"));
    m_labelFont.setPixelSize(12);
    setCursor(Qt::PointingHandCursor);
}

void GraphView::setGraphData(const QList<VXLGSensor>& samples)
{
    m_values = samples;
    update();
}

void GraphView::updateTimePosition(double position)
{
    m_timePosition = position;
    update();
}

QPointF GraphView::graphAreaLeftBottom() const
{
    return {kAreaLeft, kAreaBottom};
}

QSizeF GraphView::graphAreaSize() const
{
    return {width() - 2.0 * kAreaLeft, height() - 2.0 * kAreaBottom};
}

QPointF GraphView::graphAreaZeroValuePoint() const
{
    return {kAreaLeft, kAreaBottom + graphAreaSize().height() * 0.5};
}

double GraphView::positionForViewX(double x) const
{
    const double areaWidth = graphAreaSize().width();
    if (areaWidth <= 0.0) {
        return 0.0;
    }
    return std::clamp((x - kAreaLeft) / areaWidth, 0.0, 1.0);
}

void GraphView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawGraph(painter);
}

void GraphView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_values.isEmpty() || graphAreaSize().width() <= 0.0) {
        QWidget::mousePressEvent(event);
        return;
    }
    Q_EMIT graphPositionClicked(positionForViewX(event->position().x()));
}

void GraphView::drawGraph(QPainter& painter)
{
    painter.save();
    drawBackgroundRect(painter);
    if (!m_values.isEmpty()) {
        drawGraphData(painter);
        drawTimePositionVerticalBar(painter);
    }
    painter.restore();
}

void GraphView::fillRectUp(QPainter& painter, double x, double y, double rectWidth,
                           double rectHeight, const QColor& colour)
{
    painter.fillRect(QRectF(x, height() - y - rectHeight, rectWidth, rectHeight), colour);
}

void GraphView::drawBackgroundRect(QPainter& painter)
{
    const QSizeF area = graphAreaSize();
    for (int k = 0; k <= 4; ++k) {
        fillRectUp(painter, kAreaLeft, kAreaBottom + k * area.height() / 4.0, area.width(), 1.0,
                   kGridColour);
    }
    fillRectUp(painter, kAreaLeft, kAreaBottom, 1.0, area.height(), kGridColour);

    static const char* const labels[] = {"-2", "-1", "0", "+1", "+2"};
    for (int k = 0; k <= 4; ++k) {
        drawString(painter, QString::fromLatin1(labels[k]),
                   QPointF(kAreaLeft, kAreaBottom + k * area.height() / 4.0));
    }
}

void GraphView::drawString(QPainter& painter, const QString& text, QPointF point)
{
    painter.setFont(m_labelFont);
    painter.setPen(Qt::white);
    const QFontMetricsF metrics(m_labelFont);
    const double textWidth = metrics.horizontalAdvance(text);
    const double textHeight = metrics.height();
    // Right-aligned against the point with a 2-point gap, centred a little below it.
    const double left = point.x() - (textWidth + 2.0);
    const double bottomUp = point.y() - (textHeight * 0.5 - 2.0);
    painter.drawText(QRectF(left, height() - bottomUp - textHeight, textWidth, textHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, text);
}

void GraphView::drawGraphData(QPainter& painter)
{
    const QSizeF area = graphAreaSize();
    const auto areaWidth = static_cast<qint64>(area.width());
    if (areaWidth <= 0) {
        return;
    }
    const qint64 sampleCount = m_values.size();
    qint64 plotSteps = areaWidth * kStepsPerPoint + 1;
    const double step = static_cast<double>(sampleCount) / static_cast<double>(plotSteps);
    const double scale = area.height() * 0.25;
    const double zeroUp = graphAreaZeroValuePoint().y();
    const double viewHeight = height();

    // The sample of each plot step, shared by the three curves.
    m_stepSamples.resize(plotSteps);
    for (qint64 i = 0; i < plotSteps; ++i) {
        const auto k = static_cast<quint64>(step * static_cast<double>(i));
        if (k >= static_cast<quint64>(sampleCount)) {
            plotSteps = i;
            break;
        }
        m_stepSamples[i] = static_cast<qsizetype>(k);
    }

    const VXLGSensor* samples = m_values.constData();
    const qsizetype* stepSamples = m_stepSamples.constData();
    painter.setBrush(Qt::NoBrush);
    static constexpr float VXLGSensor::*axes[] = {&VXLGSensor::x, &VXLGSensor::y, &VXLGSensor::z};
    static const Qt::GlobalColor colours[] = {Qt::red, Qt::green, Qt::blue};
    for (int axis = 0; axis < 3; ++axis) {
        QPen pen(colours[axis]);
        pen.setWidthF(1.0);
        pen.setJoinStyle(Qt::RoundJoin);
        painter.setPen(pen);

        const auto member = axes[axis];
        auto valueAt = [&](qint64 i) {
            return samples[stepSamples[i]].*member;
        };
        auto pointAt = [&](qint64 i) {
            return QPointF(kAreaLeft + 1.0 + 0.1 * static_cast<double>(i),
                           viewHeight - (valueAt(i) * scale + zeroUp));
        };
        m_points.clear();
        m_points.append(pointAt(0));

        // The ten plot steps of one point of width land in one pixel column: of those only
        // the first, the lowest, the highest and the last change what is drawn, so only they
        // go into the line. This keeps a repaint cheap on wide windows.
        for (qint64 first = 1; first < plotSteps;) {
            const qint64 end = std::min(plotSteps, (first / kStepsPerPoint + 1) * kStepsPerPoint);
            qint64 lowest = first;
            qint64 highest = first;
            float lowValue = valueAt(first);
            float highValue = lowValue;
            for (qint64 i = first + 1; i < end; ++i) {
                const float value = valueAt(i);
                if (value < lowValue) {
                    lowest = i;
                    lowValue = value;
                } else if (value > highValue) {
                    highest = i;
                    highValue = value;
                }
            }
            const qint64 steps[4] = {first, std::min(lowest, highest), std::max(lowest, highest),
                                     end - 1};
            qint64 previous = -1;
            for (qint64 i : steps) {
                if (i != previous) {
                    m_points.append(pointAt(i));
                    previous = i;
                }
            }
            first = end;
        }
        painter.drawPolyline(m_points.constData(), static_cast<int>(m_points.size()));
    }
}

void GraphView::drawTimePositionVerticalBar(QPainter& painter)
{
    const QSizeF area = graphAreaSize();
    fillRectUp(painter, area.width() * m_timePosition + kAreaLeft, kAreaBottom, 2.0, area.height(),
               Qt::white);
}
