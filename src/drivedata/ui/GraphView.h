#pragma once

#include "drivedata/VXLGSensor.h"

#include <QFont>
#include <QList>
#include <QPointF>
#include <QSizeF>
#include <QWidget>

class QPainter;

// The G-sensor strip of the main window: the whole recording's samples as three curves
// (x red, y green, z blue) over -2 g to +2 g, with a white bar at the playing position.
//
// Geometry is given the camera viewer's way, y upwards from the bottom left of the view, and
// turned into Qt's y-down coordinates only when painting. The view fills nothing itself:
// whatever lies behind it shows through.
//
// Threading: GUI thread only. The graph draws from its own copy of the samples, handed over
// after an extraction has returned; the next extraction refilling its list on a background
// thread detaches from that copy and is never read half-filled.
class GraphView : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(double timePosition READ timePosition WRITE updateTimePosition)

public:
    explicit GraphView(QWidget* parent = nullptr);

    void setGraphData(const QList<VXLGSensor>& samples);
    const QList<VXLGSensor>& values() const { return m_values; }

    // Fraction 0..1 of the recording played; moves the bar.
    void updateTimePosition(double position);
    double timePosition() const { return m_timePosition; }

    QPointF graphAreaLeftBottom() const;
    QSizeF graphAreaSize() const;
    QPointF graphAreaZeroValuePoint() const;

    // Fraction 0..1 of the recording under a view x coordinate, clamped to the graph area.
    double positionForViewX(double x) const;

    // Paints the view into any device of the view's size (the benchmark and tests use images).
    void drawGraph(QPainter& painter);

Q_SIGNALS:
    // The user clicked the graph: playback should move to this fraction of the recording.
    void graphPositionClicked(double position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void drawBackgroundRect(QPainter& painter);
    void drawGraphData(QPainter& painter);
    void drawTimePositionVerticalBar(QPainter& painter);
    void drawString(QPainter& painter, const QString& text, QPointF point);
    // A filled rectangle given with its bottom-left corner in y-up coordinates.
    void fillRectUp(QPainter& painter, double x, double y, double width, double height,
                    const QColor& colour);

    QList<VXLGSensor> m_values;
    double m_timePosition = 0.0;
    QFont m_labelFont;
    // Reused between repaints.
    QList<QPointF> m_points;
    QList<qsizetype> m_stepSamples;
};
