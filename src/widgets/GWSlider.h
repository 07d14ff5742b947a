#pragma once

#include <QColor>
#include <QSlider>

// A horizontal slider over a fraction 0..1 that jumps to where it is clicked (a position
// bar, not a page-stepping scroller). userMoved() comes only from the user's hand, never
// from setFraction(), so a two-way link with a model does not echo.
//
// It can also show a marked span (the clip to export): a band between two fractions with a
// bracket at each end that lies on the slider.
class GWSlider : public QSlider
{
    Q_OBJECT
    Q_PROPERTY(QColor markColor READ markColor WRITE setMarkColor)

public:
    static constexpr int kSteps = 10000;

    explicit GWSlider(QWidget* parent = nullptr);

    double fraction() const { return double(value()) / kSteps; }
    void setFraction(double fraction);

    // The span as fractions of what the slider shows; either end may lie outside 0..1 (the
    // span begins before or ends after the recording shown) and then has no bracket.
    void setMarkedSpan(double inFraction, double outFraction);
    void clearMarkedSpan();
    bool hasMarkedSpan() const { return m_hasMarkedSpan; }
    double markedIn() const { return m_markedIn; }
    double markedOut() const { return m_markedOut; }

    // From the style sheet (qproperty-markColor).
    QColor markColor() const { return m_markColor; }
    void setMarkColor(const QColor& color);

Q_SIGNALS:
    void userMoved(double fraction);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_settingFromCode = false;
    bool m_hasMarkedSpan = false;
    double m_markedIn = 0;
    double m_markedOut = 0;
    QColor m_markColor = QColor(0xf0, 0x8c, 0x2e);
};
