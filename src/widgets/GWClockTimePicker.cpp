#include "GWClockTimePicker.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QtMath>

#include <cmath>

namespace {

// Hand lengths as parts of the dial's radius.
constexpr double kHourLength = 0.5;
constexpr double kMinuteLength = 0.75;
constexpr double kSecondLength = 0.85;

double handAngle(double fraction)
{
    return fraction * 360.0;
}

// The smaller difference between two angles in degrees.
double angleDistance(double a, double b)
{
    const double d = std::fmod(std::abs(a - b), 360.0);
    return std::min(d, 360.0 - d);
}

} // namespace

GWClockTimePicker::GWClockTimePicker(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void GWClockTimePicker::setTime(const QTime& time)
{
    if (!time.isValid())
        return;
    const QTime seconds(time.hour(), time.minute(), time.second());
    if (seconds == m_time)
        return;
    m_time = seconds;
    update();
    Q_EMIT timeChanged(m_time);
}

QRectF GWClockTimePicker::dial() const
{
    const double side = std::min(width(), height()) - 4.0;
    return QRectF((width() - side) / 2, (height() - side) / 2, side, side);
}

QRectF GWClockTimePicker::halfOfDayMark() const
{
    const QRectF face = dial();
    const double w = face.width() * 0.26;
    const double h = face.height() * 0.14;
    return QRectF(face.center().x() - w / 2, face.center().y() + face.height() * 0.17, w, h);
}

double GWClockTimePicker::angleAt(const QPointF& point) const
{
    const QPointF d = point - dial().center();
    // atan2 with x and y swapped and y flipped: 0 at 12 o'clock, growing clockwise.
    double degrees = qRadiansToDegrees(std::atan2(d.x(), -d.y()));
    if (degrees < 0)
        degrees += 360.0;
    return degrees;
}

GWClockTimePicker::Hand GWClockTimePicker::handNear(const QPointF& point) const
{
    const double radius = dial().width() / 2;
    const QPointF d = point - dial().center();
    const double distance = std::hypot(d.x(), d.y()) / radius;
    if (distance > 1.05 || distance < 0.08)
        return Hand::None;
    const double angle = angleAt(point);
    const double hour = handAngle((m_time.hour() % 12 + m_time.minute() / 60.0) / 12.0);
    const double minute = handAngle((m_time.minute() + m_time.second() / 60.0) / 60.0);
    const double second = handAngle(m_time.second() / 60.0);
    // The hand closest in angle among those long enough to reach the pointer; the hour hand
    // also takes presses inside its length wherever it points, being the hardest to hit.
    struct Candidate
    {
        Hand hand;
        double angle;
        double length;
    };
    const Candidate candidates[] = {{Hand::Second, second, kSecondLength},
                                    {Hand::Minute, minute, kMinuteLength},
                                    {Hand::Hour, hour, kHourLength}};
    Hand best = Hand::None;
    double bestDistance = 30.0; // degrees
    for (const Candidate& c : candidates) {
        const double off = angleDistance(angle, c.angle);
        if (distance <= c.length + 0.1 && off < bestDistance) {
            best = c.hand;
            bestDistance = off;
        }
    }
    if (best == Hand::None && distance <= kHourLength)
        best = Hand::Hour;
    if (best == Hand::None)
        best = Hand::Minute;
    return best;
}

void GWClockTimePicker::moveHand(Hand hand, const QPointF& point)
{
    const double angle = angleAt(point);
    QTime time = m_time;
    switch (hand) {
    case Hand::Hour: {
        // The hour hand keeps the half of the day; the AM/PM mark switches it.
        const int hour = int(std::floor(angle / 30.0)) % 12;
        time.setHMS(hour + (m_time.hour() >= 12 ? 12 : 0), m_time.minute(), m_time.second());
        break;
    }
    case Hand::Minute:
        time.setHMS(m_time.hour(), int(std::lround(angle / 6.0)) % 60, m_time.second());
        break;
    case Hand::Second:
        time.setHMS(m_time.hour(), m_time.minute(), int(std::lround(angle / 6.0)) % 60);
        break;
    case Hand::None:
        return;
    }
    setTime(time);
}

void GWClockTimePicker::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    if (halfOfDayMark().contains(event->position())) {
        setTime(m_time.addSecs(m_time.hour() >= 12 ? -12 * 3600 : 12 * 3600));
        return;
    }
    m_dragged = handNear(event->position());
    moveHand(m_dragged, event->position());
}

void GWClockTimePicker::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragged != Hand::None)
        moveHand(m_dragged, event->position());
}

void GWClockTimePicker::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_dragged != Hand::None)
        moveHand(m_dragged, event->position());
    m_dragged = Hand::None;
}

void GWClockTimePicker::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
        setTime(m_time.addSecs(60));
        break;
    case Qt::Key_Down:
        setTime(m_time.addSecs(-60));
        break;
    case Qt::Key_Right:
        setTime(m_time.addSecs(1));
        break;
    case Qt::Key_Left:
        setTime(m_time.addSecs(-1));
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void GWClockTimePicker::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF face = dial();
    const double radius = face.width() / 2;
    const QPalette& colors = palette();
    const QColor ink =
        colors.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);

    painter.setPen(
        QPen(hasFocus() ? colors.color(QPalette::Highlight) : colors.color(QPalette::Mid), 1.5));
    painter.setBrush(colors.color(QPalette::Base));
    painter.drawEllipse(face);

    painter.translate(face.center());
    for (int tick = 0; tick < 60; ++tick) {
        const bool hour = tick % 5 == 0;
        painter.setPen(QPen(ink, hour ? 2.0 : 0.8));
        const double outer = radius * 0.93;
        const double inner = radius * (hour ? 0.82 : 0.88);
        const double a = qDegreesToRadians(tick * 6.0);
        painter.drawLine(QPointF(std::sin(a) * inner, -std::cos(a) * inner),
                         QPointF(std::sin(a) * outer, -std::cos(a) * outer));
    }
    QFont numbers = font();
    numbers.setPixelSize(std::max(8, int(radius * 0.16)));
    painter.setFont(numbers);
    painter.setPen(ink);
    for (int hour = 1; hour <= 12; ++hour) {
        const double a = qDegreesToRadians(hour * 30.0);
        const QPointF at(std::sin(a) * radius * 0.66, -std::cos(a) * radius * 0.66);
        const QRectF box(at.x() - radius * 0.15, at.y() - radius * 0.12, radius * 0.3,
                         radius * 0.24);
        painter.drawText(box, Qt::AlignCenter, QString::number(hour));
    }
    painter.resetTransform();

    QFont mark = font();
    mark.setPixelSize(std::max(8, int(radius * 0.14)));
    painter.setFont(mark);
    painter.setPen(colors.color(QPalette::Highlight));
    painter.drawText(halfOfDayMark(), Qt::AlignCenter,
                     m_time.hour() >= 12 ? QStringLiteral("PM") : QStringLiteral("AM"));

    painter.translate(face.center());
    const auto drawHand = [&](double degrees, double length, double thickness,
                              const QColor& color) {
        painter.setPen(QPen(color, thickness, Qt::SolidLine, Qt::RoundCap));
        const double a = qDegreesToRadians(degrees);
        painter.drawLine(QPointF(-std::sin(a) * radius * 0.1, std::cos(a) * radius * 0.1),
                         QPointF(std::sin(a) * radius * length, -std::cos(a) * radius * length));
    };
    drawHand(handAngle((m_time.hour() % 12 + m_time.minute() / 60.0) / 12.0), kHourLength,
             std::max(3.0, radius * 0.06), ink);
    drawHand(handAngle((m_time.minute() + m_time.second() / 60.0) / 60.0), kMinuteLength,
             std::max(2.0, radius * 0.04), ink);
    drawHand(handAngle(m_time.second() / 60.0), kSecondLength, 1.2, QColor(0xd0, 0x30, 0x30));
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawEllipse(QPointF(0, 0), radius * 0.04, radius * 0.04);
}
