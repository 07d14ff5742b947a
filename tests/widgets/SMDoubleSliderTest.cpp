#include "widgets/SMDoubleSlider.h"
#include "widgets/EcoSliderAxisView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Stands for a settings page: two numeric properties the slider is bound to.
class RangeOwner : public QObject
{
    Q_OBJECT
    Q_PROPERTY(double loValue READ loValue WRITE setLoValue NOTIFY loValueChanged)
    Q_PROPERTY(double hiValue READ hiValue WRITE setHiValue NOTIFY hiValueChanged)

public:
    double loValue() const { return m_lo; }
    double hiValue() const { return m_hi; }
    void setLoValue(double value)
    {
        if (value != m_lo) {
            m_lo = value;
            Q_EMIT loValueChanged();
        }
    }
    void setHiValue(double value)
    {
        if (value != m_hi) {
            m_hi = value;
            Q_EMIT hiValueChanged();
        }
    }

Q_SIGNALS:
    void loValueChanged();
    void hiValueChanged();

private:
    double m_lo = 0;
    double m_hi = 0;
};

// A 0..100 slider 230 pixels wide: the knob's centre travels 210 pixels, 2.1 per unit.
class RangeSlider : public ::testing::Test
{
protected:
    void SetUp() override
    {
        slider.setMinValue(0);
        slider.setMaxValue(100);
        slider.setAltIncrementValue(1);
        slider.resize(230, 24);
        ASSERT_TRUE(slider.bind(QStringLiteral("objectLoValue"), &owner, "loValue"));
        ASSERT_TRUE(slider.bind(QStringLiteral("objectHiValue"), &owner, "hiValue"));
        slider.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&slider));
    }

    // As a page sets them: the high value first. The slider too, which does not write back
    // what it is given from code.
    void setRange(double lo, double hi)
    {
        owner.setHiValue(hi);
        owner.setLoValue(lo);
        slider.setDoubleHiValue(hi);
        slider.setDoubleLoValue(lo);
    }

    RangeOwner owner;
    SMDoubleSlider slider;
};

TEST_F(RangeSlider, ValuesKeepTheirOrderInsideTheLimits)
{
    struct Case
    {
        const char* name;
        std::function<void()> change;
        double lo, hi;
    };
    const Case cases[] = {
        {"high below low is raised to it", [this] { owner.setHiValue(20); }, 70, 70},
        {"low made room first",
         [this] {
             owner.setLoValue(10);
             owner.setHiValue(20);
         },
         10, 20},
        {"low above high is lowered to it", [this] { owner.setLoValue(95); }, 90, 90},
        {"high above the maximum", [this] { slider.setDoubleHiValue(130); }, 70, 100},
        {"maximum below both", [this] { slider.setMaxValue(50); }, 50, 50},
        {"maximum between them", [this] { slider.setMaxValue(80); }, 70, 80},
        {"minimum above both", [this] { slider.setMinValue(95); }, 95, 95},
        {"minimum between them", [this] { slider.setMinValue(75); }, 75, 90},
        {"locking puts low on high", [this] { slider.setLockedSliders(true); }, 90, 90},
        {"a text", [this] { slider.setStringLoValue(QStringLiteral("12.5")); }, 12.5, 90},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        slider.setMinValue(0);
        slider.setMaxValue(100);
        slider.setLockedSliders(false);
        slider.setDoubleLoValue(0);
        setRange(70, 90);
        ASSERT_EQ(slider.doubleLoValue(), 70);
        ASSERT_EQ(slider.doubleHiValue(), 90);
        c.change();
        EXPECT_DOUBLE_EQ(slider.doubleLoValue(), c.lo);
        EXPECT_DOUBLE_EQ(slider.doubleHiValue(), c.hi);
    }
    // Integer reads truncate.
    slider.setDoubleHiValue(90.9);
    slider.setDoubleLoValue(33.7);
    EXPECT_EQ(slider.integerLoValue(), 33);
    EXPECT_EQ(slider.integerHiValue(), 90);
}

TEST_F(RangeSlider, PressTakesAKnobAndDragsItWithinItsLimits)
{
    enum Knob { Low, High };
    struct Case
    {
        const char* name;
        double lo, hi;
        bool locked;
        int pressX; // relative to the left edge of the low knob's rectangle
        int dragBy;
        Qt::KeyboardModifiers modifiers;
        Knob taken;
        double expectLo, expectHi;
    };
    const Case cases[] = {
        {"both at the minimum: left half takes the high knob", 0, 0, false, 2, 42, {}, High, 0, 20},
        {"both at 50: left half, pushed up, stops at 50", 50, 50, false, 2, 42, {}, Low, 50, 50},
        {"both at 50: left half, pulled down", 50, 50, false, 2, -42, {}, Low, 30, 50},
        {"both at 50: right half, pulled up", 50, 50, false, 12, 42, {}, High, 50, 70},
        {"both at 50: right half, pushed down, stops at 50",
         50,
         50,
         false,
         12,
         -42,
         {},
         High,
         50,
         50},
        {"press on the bar brings the high knob there", 20, 50, false, 136, 0, {}, High, 20, 80},
        {"press on the bar left of the low knob", 20, 50, false, -32, 0, {}, Low, 0, 50},
        {"Alt steps by whole units", 50, 50, false, 12, 43, Qt::AltModifier, High, 50, 70},
        {"locked knobs move as one", 50, 50, true, 12, -42, {}, High, 30, 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        slider.setLockedSliders(false);
        setRange(c.lo, c.hi);
        slider.setLockedSliders(c.locked);
        const QPoint press(slider.loKnobRect().left() + c.pressX, slider.height() / 2);
        QTest::mousePress(&slider, Qt::LeftButton, c.modifiers, press);
        EXPECT_EQ(slider.trackingLoKnob(), c.taken == Low);
        // Sent directly: QTest's mouse move carries no modifiers.
        QMouseEvent move(QEvent::MouseMove, press + QPoint(c.dragBy, 0),
                         slider.mapToGlobal(press + QPoint(c.dragBy, 0)), Qt::NoButton,
                         Qt::LeftButton, c.modifiers);
        QApplication::sendEvent(&slider, &move);
        // A continuous slider has told the bound properties before the button comes up.
        EXPECT_NEAR(owner.loValue(), c.expectLo, 1e-9);
        EXPECT_NEAR(owner.hiValue(), c.expectHi, 1e-9);
        QTest::mouseRelease(&slider, Qt::LeftButton, c.modifiers, press + QPoint(c.dragBy, 0));
        EXPECT_NEAR(slider.doubleLoValue(), c.expectLo, 1e-9);
        EXPECT_NEAR(slider.doubleHiValue(), c.expectHi, 1e-9);
        EXPECT_NEAR(owner.loValue(), c.expectLo, 1e-9);
        EXPECT_NEAR(owner.hiValue(), c.expectHi, 1e-9);
    }
}

TEST_F(RangeSlider, NonContinuousSliderWritesOnlyAtTheEnd)
{
    slider.setContinuous(false);
    setRange(20, 50);
    const QPoint press(slider.hiKnobRect().center());
    QTest::mousePress(&slider, Qt::LeftButton, {}, press);
    QMouseEvent move(QEvent::MouseMove, press + QPoint(21, 0), slider.mapToGlobal(press),
                     Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(&slider, &move);
    EXPECT_EQ(slider.doubleHiValue(), 60);
    EXPECT_EQ(owner.hiValue(), 50);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, press + QPoint(21, 0));
    EXPECT_NEAR(owner.hiValue(), 60, 1e-9);
}

TEST_F(RangeSlider, TabAndBacktabVisitBothKnobs)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* before = new QLineEdit(&window);
    auto* ranged = new SMDoubleSlider(&window);
    auto* after = new QLineEdit(&window);
    layout->addWidget(before);
    layout->addWidget(ranged);
    layout->addWidget(after);
    ranged->setMaxValue(100);
    ranged->setAltIncrementValue(1);
    setRange(20, 50);
    ASSERT_TRUE(ranged->bind(QStringLiteral("objectLoValue"), &owner, "loValue"));
    ASSERT_TRUE(ranged->bind(QStringLiteral("objectHiValue"), &owner, "hiValue"));
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    before->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return before->hasFocus(); }));

    // Sent as the window system sends them: QTest cannot type a Backtab.
    const auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QKeyEvent down(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(focus, &down);
        QKeyEvent up(QEvent::KeyRelease, key, modifiers);
        QApplication::sendEvent(QApplication::focusWidget(), &up);
    };
    press(Qt::Key_Tab);
    ASSERT_TRUE(ranged->hasFocus());
    EXPECT_TRUE(ranged->trackingLoKnob());
    press(Qt::Key_Right);
    EXPECT_EQ(owner.loValue(), 21);
    press(Qt::Key_Tab);
    ASSERT_TRUE(ranged->hasFocus());
    EXPECT_FALSE(ranged->trackingLoKnob());
    press(Qt::Key_PageDown);
    EXPECT_EQ(owner.hiValue(), 40);
    press(Qt::Key_Home); // the high knob stops at the low one
    EXPECT_EQ(owner.hiValue(), 21);
    press(Qt::Key_Tab);
    EXPECT_TRUE(after->hasFocus());

    press(Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_TRUE(ranged->hasFocus());
    EXPECT_FALSE(ranged->trackingLoKnob());
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_TRUE(ranged->hasFocus());
    EXPECT_TRUE(ranged->trackingLoKnob());
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(before->hasFocus());
}

TEST(EcoSliderAxisView, TicksSpanTheKnobTravelOfASliderOfTheSameWidth)
{
    // 230 pixels: the knob's centre travels from 10 to 220, a tick every 10 pixels.
    const QList<QRectF> ticks = EcoSliderAxisView::tickRects(230);
    ASSERT_EQ(ticks.size(), 22);
    for (int i = 0; i < 22; ++i) {
        SCOPED_TRACE(i);
        const bool isLong = i == 0 || i == 10 || i == 21;
        EXPECT_DOUBLE_EQ(ticks[i].x(), 10 + 10 * i);
        EXPECT_EQ(ticks[i].width(), 1);
        EXPECT_EQ(ticks[i].y(), isLong ? 3 : 5);
        EXPECT_EQ(ticks[i].height(), isLong ? 8 : 5);
    }
    SMDoubleSlider slider;
    slider.setMaxValue(100);
    slider.resize(230, 24);
    slider.setDoubleHiValue(100);
    EXPECT_EQ(slider.loKnobRect().left() + 10, ticks.first().x());
    EXPECT_EQ(slider.hiKnobRect().left() + 10, ticks.last().x());
}

} // namespace

#include "SMDoubleSliderTest.moc"
