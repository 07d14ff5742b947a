#include "VXLScrollableVideoContainerView.h"

#include <QEnterEvent>

namespace {

constexpr int kTrackingMargin = 4;

} // namespace

VXLScrollableVideoContainerView::VXLScrollableVideoContainerView(QWidget* parent) : QWidget(parent)
{
    updateTrackingAreas();
}

void VXLScrollableVideoContainerView::updateTrackingAreas()
{
    m_mouseTrackingArea =
        rect().adjusted(-kTrackingMargin, -kTrackingMargin, kTrackingMargin, kTrackingMargin);
}

void VXLScrollableVideoContainerView::resizeEvent(QResizeEvent* event)
{
    updateTrackingAreas();
    QWidget::resizeEvent(event);
}

void VXLScrollableVideoContainerView::enterEvent(QEnterEvent* event)
{
    Q_EMIT mouseEntered();
    QWidget::enterEvent(event);
}

void VXLScrollableVideoContainerView::leaveEvent(QEvent* event)
{
    Q_EMIT mouseExited();
    QWidget::leaveEvent(event);
}
