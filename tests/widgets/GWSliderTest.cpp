#include "widgets/GWSlider.h"

#include <QImage>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Columns of the picture that differ from the slider without marks.
QList<int> markedColumns(GWSlider& slider, const QImage& unmarked)
{
    const QImage image = slider.grab().toImage();
    QList<int> columns;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixel(x, y) != unmarked.pixel(x, y)) {
                columns << x;
                break;
            }
        }
    }
    return columns;
}

// The marked span is drawn where a click would put those positions, and only where it lies
// on the slider.
TEST(GWSlider, MarkedSpanDrawnWhereItsPositionsAre)
{
    GWSlider slider;
    slider.setFraction(0);
    QStyleOptionSlider option;
    option.initFrom(&slider);
    const int handle = slider.style()->pixelMetric(QStyle::PM_SliderLength, &option, &slider);
    slider.resize(400 + handle, 20); // 400 px of travel for the handle's centre
    const QImage unmarked = slider.grab().toImage();

    const struct
    {
        double in, out;
        int firstX, lastX; // where the handle's centre would stand for them
    } cases[] = {
        {0.25, 0.5, 100, 200},
        {-0.5, 0.5, 0, 200},    // begins in an earlier recording: no "[" bracket
        {0.75, 1.75, 300, 400}, // ends in a later one
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        slider.setMarkedSpan(c.in, c.out);
        const QList<int> columns = markedColumns(slider, unmarked);
        ASSERT_FALSE(columns.isEmpty());
        EXPECT_NEAR(columns.first(), c.firstX + handle / 2, 2);
        EXPECT_NEAR(columns.last(), c.lastX + handle / 2, 2);
    }
    slider.clearMarkedSpan();
    EXPECT_TRUE(markedColumns(slider, unmarked).isEmpty());
}

} // namespace
