#include "drivedata/ui/GraphView.h"

#include <QImage>
#include <QMouseEvent>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <utility>

namespace {

// A view 340 x 116: the area is 300 x 100 from (20, 8), 25 px per g, zero on y-down row 58.
// Rows (y down) of some values, away from the grid rows 7, 32, 57, 82 and 107:
constexpr int kRowPlusHalf = 45;     // +0.5 g
constexpr int kRowMinusHalf = 70;    // -0.5 g
constexpr int kRowPlusOneHalf = 20;  // +1.5 g
constexpr int kRowMinusOneHalf = 95; // -1.5 g

QImage renderGraph(GraphView& view)
{
    QImage image(view.size(), QImage::Format_RGB32);
    image.fill(Qt::black); // the view paints no background of its own, nor may render()
    view.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

enum Channel { Red, Green, Blue };

// That channel lit and the other two dark.
bool isOnly(QRgb p, Channel c)
{
    const int v[] = {qRed(p), qGreen(p), qBlue(p)};
    return v[c] > 90 && v[(c + 1) % 3] < 60 && v[(c + 2) % 3] < 60;
}

bool isWhite(QRgb p)
{
    return qRed(p) > 230 && qGreen(p) > 230 && qBlue(p) > 230;
}

// A curve of that colour passes within one row of `row` at column `x`.
bool near(const QImage& image, int x, int row, Channel c)
{
    for (int y = row - 1; y <= row + 1; ++y) {
        if (isOnly(image.pixel(x, y), c)) {
            return true;
        }
    }
    return false;
}

struct GraphFixture : ::testing::Test
{
    GraphFixture() { view.resize(340, 116); }
    GraphView view;
};

TEST_F(GraphFixture, EmptyListDrawsOnlyGridAndLabels)
{
    view.updateTimePosition(0.5);
    const QImage image = renderGraph(view);
    for (int row : {7, 32, 57, 82, 107}) {
        EXPECT_EQ(image.pixel(20, row), qRgb(204, 204, 204)) << row;
        EXPECT_EQ(image.pixel(319, row), qRgb(204, 204, 204)) << row;
        EXPECT_EQ(image.pixel(320, row), qRgb(0, 0, 0)) << "grid ends with the area " << row;
    }
    EXPECT_EQ(image.pixel(20, 50), qRgb(204, 204, 204)) << "vertical axis";
    int labelPixels = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            ASSERT_FALSE(isOnly(p, Red) || isOnly(p, Green) || isOnly(p, Blue) ||
                         (x >= 22 && isWhite(p)))
                << "at " << x << "," << y;
            labelPixels += x < 20 && qRed(p) > 128;
        }
    }
    EXPECT_GT(labelPixels, 20) << "the five labels are drawn left of the axis";
}

TEST_F(GraphFixture, OneSampleDrawsThreeLinesAcrossTheWidth)
{
    view.setGraphData({VXLGSensor(0.5f, -0.5f, 1.5f)});
    const QImage image = renderGraph(view);
    for (int x : {23, 170, 319}) {
        EXPECT_TRUE(near(image, x, kRowPlusHalf, Red)) << x;
        EXPECT_TRUE(near(image, x, kRowMinusHalf, Green)) << x;
        EXPECT_TRUE(near(image, x, kRowPlusOneHalf, Blue)) << x;
    }
    EXPECT_FALSE(near(image, 330, kRowPlusHalf, Red)) << "the curve stays inside the area";
}

// Samples 0.5 g up to sample `jump`, -0.5 g from there; the red curve must step down at the
// x where plot step i first reaches that sample: x = 21 + 0.1 * i, i = ceil(jump * M / N).
TEST_F(GraphFixture, SamplesAreSpreadOverTenStepsPerPoint)
{
    const struct
    {
        int sampleCount;
        int jump;
        double jumpX;
    } cases[] = {
        {3001, 1000, 121.0}, // M = 3001, step 1.0: sample k at 21 + 0.1 k
        {3001, 2500, 271.0},
        {2, 1, 171.1},       // fewer samples than steps: a staircase
        {6002, 2000, 121.0}, // step 2.0: every other sample skipped
    };
    for (const auto& c : cases) {
        QList<VXLGSensor> samples;
        for (int k = 0; k < c.sampleCount; ++k) {
            samples.append(VXLGSensor(k < c.jump ? 0.5f : -0.5f, -1.5f, 1.5f));
        }
        view.setGraphData(samples);
        view.updateTimePosition(1.0);
        const QImage image = renderGraph(view);
        const int before = static_cast<int>(c.jumpX) - 3;
        const int after = static_cast<int>(c.jumpX) + 3;
        SCOPED_TRACE(testing::Message() << c.sampleCount << " samples, jump at " << c.jump);
        EXPECT_TRUE(near(image, before, kRowPlusHalf, Red));
        EXPECT_FALSE(near(image, before, kRowMinusHalf, Red));
        EXPECT_TRUE(near(image, after, kRowMinusHalf, Red));
        EXPECT_FALSE(near(image, after, kRowPlusHalf, Red));
        EXPECT_TRUE(near(image, after, kRowMinusOneHalf, Green));
        EXPECT_TRUE(near(image, after, kRowPlusOneHalf, Blue));
    }
}

TEST_F(GraphFixture, TimeBarSpansTheAreaAtThePosition)
{
    view.setGraphData(QList<VXLGSensor>(50, VXLGSensor()));
    const struct
    {
        double position;
        int left;
    } cases[] = {{0.0, 20}, {0.5, 170}, {1.0, 320}};
    for (const auto& c : cases) {
        view.updateTimePosition(c.position);
        const QImage image = renderGraph(view);
        for (int row : {8, 30, 107}) {
            EXPECT_TRUE(isWhite(image.pixel(c.left, row))) << c.position << " row " << row;
            EXPECT_TRUE(isWhite(image.pixel(c.left + 1, row))) << c.position << " row " << row;
        }
        EXPECT_FALSE(isWhite(image.pixel(c.left + 2, 30))) << c.position;
        EXPECT_FALSE(isWhite(image.pixel(c.left, 6))) << "bar ends at the area's top";
    }
}

TEST_F(GraphFixture, ClickAsksForThePositionUnderTheMouse)
{
    QSignalSpy spy(&view, &GraphView::graphPositionClicked);
    auto click = [&](double x) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(x, 50), QPointF(x, 50), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&view, &press);
    };
    click(170);
    EXPECT_TRUE(spy.isEmpty()) << "nothing to move to without samples";
    view.setGraphData(QList<VXLGSensor>(10, VXLGSensor()));
    for (auto [x, position] : {std::pair{170.0, 0.5}, {95.0, 0.25}, {5.0, 0.0}, {339.0, 1.0}}) {
        spy.clear();
        click(x);
        ASSERT_EQ(spy.size(), 1) << x;
        EXPECT_DOUBLE_EQ(spy.at(0).at(0).toDouble(), position) << x;
    }
}

} // namespace
