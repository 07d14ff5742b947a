#include "cardtools/VolumeDiscovery.h"
#include "cardtools/ui/VXLTimeSetupController.h"
#include "widgets/GWClockTimePicker.h"
#include "widgets/LocalizedString.h"

#include "AlertRecorder.h"
#include "support/CardImage.h"
#include "support/TempDir.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>

#include <stdexcept>

#include <gtest/gtest.h>

namespace {

// One card reader whose card is mounted at @MNT@.
class OneCardSource : public BlockDeviceSource
{
public:
    explicit OneCardSource(const QString& mountPoint)
        : m_listing(QByteArray(R"({"blockdevices":[{"name":"sdb","path":"/dev/sdb","label":null,
            "mountpoint":null,"rm":true,"hotplug":true,"tran":"usb","model":"Card Reader",
            "size":15931539456,"ro":false,"type":"disk","children":[{"name":"sdb1",
            "path":"/dev/sdb1","label":"ZUVA","mountpoint":"@MNT@","rm":true,"hotplug":true,
            "tran":null,"model":null,"size":15927345152,"ro":false,"type":"part"}]}]})")
                        .replace("@MNT@", mountPoint.toUtf8()))
    {
    }
    BlockDeviceListing blockDeviceListing() const override { return {m_listing, {}}; }
    QString probeVolumeLabel(const QString&) const override { return {}; }

private:
    QByteArray m_listing;
};

struct ClockWindow
{
    explicit ClockWindow(const BlockDeviceSource& source) : window(source)
    {
        window.setTimeScale(0.01);
        window.show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return window.isCardSearchDone(); }));
    }
    // A control of the window; a missing one ends the test (GoogleTest reports the throw).
    template <typename T> T* find(const char* name)
    {
        T* child = window.findChild<T*>(name);
        if (!child)
            throw std::runtime_error(std::string("no control named ") + name);
        return child;
    }
    void pick(QDate date, QTime time)
    {
        find<QCalendarWidget>("datePicker")->setSelectedDate(date);
        find<QTimeEdit>("timePicker")->setTime(time);
    }

    VXLTimeSetupController window;
};

TEST(ClockWindow, CardHoldingTheClockFileIsWrittenWithoutAPanel)
{
    TempDir card;
    const QString file = card.write("timeset.cfg", "2016/10/28 12:00:00 extra"); // 25 bytes
    const OneCardSource source(card.path());
    AlertRecorder alerts;
    ClockWindow w(source);
    EXPECT_EQ(w.window.settingFilePath(), file);

    w.pick(QDate(2017, 3, 3), QTime(7, 5, 9));
    EXPECT_EQ(w.find<GWClockTimePicker>("clockTimePicker")->time(), QTime(7, 5, 9));
    EXPECT_EQ(w.find<QLabel>("dateField")->text(),
              QLocale().toString(QDate(2017, 3, 3), QLocale::LongFormat));
    w.find<QPushButton>("saveButton")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return alerts.count() == 1; }));
    EXPECT_EQ(w.window.findChild<QFileDialog*>(), nullptr) << "no save panel";
    EXPECT_EQ(alerts.lastMessage(), QStringLiteral("ZUVA"));
    EXPECT_EQ(alerts.lastText(), localizedString("time.filesave"));
    EXPECT_EQ(readBytes(file, 0, 100), QByteArray("2017/03/03 07:05:09"));
    alerts.answer();
    EXPECT_FALSE(w.window.isVisible()) << "closed once confirmed";
}

TEST(ClockWindow, PickersKeptInStepAndTodayChangesOnlyTheDate)
{
    TempDir card; // mounted, but without timeset.cfg: not the camera's card for the clock
    const OneCardSource source(card.path());
    ClockWindow w(source);
    EXPECT_TRUE(w.window.settingFilePath().isEmpty());
    auto* clock = w.find<GWClockTimePicker>("clockTimePicker");
    auto* text = w.find<QTimeEdit>("timePicker");
    auto* today = w.find<QCheckBox>("nowDaySettingChk");

    clock->setTime(QTime(21, 40, 5));
    EXPECT_EQ(text->time(), QTime(21, 40, 5));
    EXPECT_EQ(w.window.selectedTime(), QTime(21, 40, 5));
    w.pick(QDate(2017, 3, 3), QTime(7, 5, 9));
    EXPECT_EQ(clock->time(), QTime(7, 5, 9));

    today->click();
    EXPECT_EQ(w.window.selectedDate(), QDate::currentDate());
    EXPECT_EQ(w.find<QCalendarWidget>("datePicker")->selectedDate(), QDate::currentDate());
    EXPECT_TRUE(today->text().startsWith(localizedString("today") + "("));
    EXPECT_EQ(w.window.selectedTime(), QTime(7, 5, 9)) << "the time is kept";
    EXPECT_EQ(text->time(), QTime(7, 5, 9));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !today->isChecked(); })) << "unticks itself";
}

TEST(ClockWindow, WithoutACardThePanelChoosesAndAFailureIsNamed)
{
    TempDir dir;
    const OneCardSource source(dir.filePath("not-mounted"));
    AlertRecorder alerts;
    ClockWindow w(source);
    w.pick(QDate(2017, 3, 3), QTime(7, 5, 9));
    const auto saveInto = [&](const QString& path) {
        w.find<QPushButton>("saveButton")->click();
        QFileDialog* panel = nullptr;
        EXPECT_TRUE(QTest::qWaitFor([&] { return (panel = w.window.findChild<QFileDialog*>()); }));
        if (!panel)
            return;
        EXPECT_EQ(panel->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(panel->defaultSuffix(), QStringLiteral("cfg"));
        if (path.isEmpty()) {
            panel->reject();
            return;
        }
        panel->selectFile(path);
        static_cast<QDialog*>(panel)->accept(); // as the panel's Save button does
    };

    saveInto({});
    QTest::qWait(20); // nothing is expected; give a wrong write the chance to show
    EXPECT_EQ(alerts.count(), 0) << "a cancelled panel writes nothing";

    const QString impossible = dir.write("plain") + "/timeset.cfg";
    saveInto(impossible);
    ASSERT_TRUE(QTest::qWaitFor([&] { return alerts.count() == 1; }));
    EXPECT_EQ(alerts.lastMessage(), localizedString("msg.time_file_fail"));
    EXPECT_TRUE(alerts.lastText().startsWith(impossible + "\n")) << alerts.lastText().toStdString();
    alerts.answer();
    EXPECT_TRUE(w.window.isVisible()) << "the user can try another file";

    const QString chosen = dir.filePath("timeset.cfg");
    saveInto(chosen);
    ASSERT_TRUE(QTest::qWaitFor([&] { return alerts.count() == 2; }));
    EXPECT_EQ(alerts.lastText(), localizedString("time.filesave"));
    EXPECT_EQ(readBytes(chosen, 0, 100), QByteArray("2017/03/03 07:05:09"));
}

TEST(ClockPicker, DraggingAHandSetsItsPart)
{
    GWClockTimePicker clock;
    clock.resize(200, 200);
    clock.setTime(QTime(14, 10, 30));
    clock.show();
    const QPoint centre(100, 100);
    const auto at = [&](double degrees, double radius) {
        const double a = qDegreesToRadians(degrees);
        return centre + QPoint(int(std::lround(std::sin(a) * radius)),
                               int(-std::lround(std::cos(a) * radius)));
    };
    // The minute hand points at 60 degrees: drag it to 9 o'clock.
    QTest::mousePress(&clock, Qt::LeftButton, {}, at(62, 60));
    QTest::mouseMove(&clock, at(270, 60));
    QTest::mouseRelease(&clock, Qt::LeftButton, {}, at(270, 60));
    EXPECT_EQ(clock.time(), QTime(14, 45, 30));
    // The hour hand (now near 2 o'clock) to 10 o'clock: still in the afternoon.
    QTest::mousePress(&clock, Qt::LeftButton, {}, at(80, 30));
    QTest::mouseRelease(&clock, Qt::LeftButton, {}, at(305, 30));
    EXPECT_EQ(clock.time(), QTime(22, 45, 30));
    // The AM/PM mark switches the half of the day.
    QTest::mouseClick(&clock, Qt::LeftButton, {}, centre + QPoint(0, 45));
    EXPECT_EQ(clock.time(), QTime(10, 45, 30));
    QTest::keyClick(&clock, Qt::Key_Up);
    EXPECT_EQ(clock.time(), QTime(10, 46, 30));
}

} // namespace
