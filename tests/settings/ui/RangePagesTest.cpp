// The two pages with a range slider: the Auxiliary page (card shares, remapped choices, the
// inset corner, Wi-Fi) and the OBD page (save-interval code, power, eco-drive bands).
#include "SettingTestSupport.h"

#include "settings/ui/VXLSettingForAuxViewController.h"
#include "settings/ui/VXLSettingForObdViewController.h"
#include "widgets/SMDoubleSlider.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {

template <typename Page> struct Shown
{
    explicit Shown(const _FILEDATA& given) : before(given), record(given)
    {
        page.resize(820, 520);
        page.show();
        page.setFileData(&record);
    }
    Page page;
    _FILEDATA before;
    _FILEDATA record;
};

QString labelText(QWidget* page, const char* name)
{
    auto* label = child<QLabel>(page, name);
    return label ? label->text() : QString();
}

// Moves a knob to one end with the keyboard, as a user would; the page hears it through the
// slider's binding.
void keyKnobToEnd(SMDoubleSlider* slider, bool lowKnob, Qt::Key key)
{
    ASSERT_NE(slider, nullptr);
    slider->setTrackingLoKnob(lowKnob);
    QTest::keyClick(slider, key);
}

TEST(AuxPage, SharesShownCheckedAndStored)
{
    const QString tooLow = localizedString(QStringLiteral("msg.sdcard_ratio_too_low"));
    struct Shares
    {
        uint32_t always, motion, event;
        int lo, hi;
        const char* fields[3];
    };
    for (const Shares& c : {Shares{70, 20, 10, 70, 90, {"70%", "20%", "10%"}},
                            Shares{70, 20, 5, 70, 90, {"70%", "20%", "10%"}},
                            // Damaged: shown where the knobs can stand.
                            Shares{150, 30, 0, 100, 100, {"100%", "0%", "0%"}}}) {
        _FILEDATA given = factoryRecord();
        given.sd_mem_always_ratio = c.always;
        given.sd_mem_motion_ratio = c.motion;
        given.sd_mem_event_ratio = c.event;
        Shown<VXLSettingForAuxViewController> shown(given);
        auto* slider = child<SMDoubleSlider>(&shown.page, "sdRatioSlider");
        ASSERT_NE(slider, nullptr);
        EXPECT_EQ(slider->doubleLoValue(), c.lo) << c.always;
        EXPECT_EQ(slider->doubleHiValue(), c.hi) << c.always;
        EXPECT_EQ(labelText(&shown.page, "alwaysField"), QLatin1String(c.fields[0]));
        EXPECT_EQ(labelText(&shown.page, "motionField"), QLatin1String(c.fields[1]));
        EXPECT_EQ(labelText(&shown.page, "eventField"), QLatin1String(c.fields[2]));
        if (c.always > 100) {
            EXPECT_EQ(shown.page.validateUserInput(), tooLow);
            continue;
        }
        ASSERT_TRUE(shown.page.populate());
        EXPECT_EQ(shown.record.sd_mem_event_ratio, 10u) << "the event share follows the knobs";
    }

    struct Knobs
    {
        double lo, hi;
        bool valid;
    };
    Shown<VXLSettingForAuxViewController> shown(factoryRecord());
    for (const Knobs& c : {Knobs{10, 20, true}, Knobs{9, 20, false}, Knobs{10, 19, false},
                           Knobs{10, 91, false}, Knobs{10.9, 20.5, true}}) {
        shown.page.setRatioHiValue(c.hi);
        shown.page.setRatioLoValue(c.lo);
        const _FILEDATA before = shown.record;
        EXPECT_EQ(shown.page.validateUserInput(), c.valid ? QString() : tooLow) << c.lo << c.hi;
        EXPECT_EQ(shown.page.populate(), c.valid);
        if (!c.valid) {
            EXPECT_EQ(changedFields(before, shown.record), QStringList());
            continue;
        }
        // Whole percents, truncated as the knob values are read.
        EXPECT_EQ(shown.record.sd_mem_always_ratio, 10u);
        EXPECT_EQ(shown.record.sd_mem_motion_ratio, 10u);
        EXPECT_EQ(shown.record.sd_mem_event_ratio, 80u);
    }

    // The user's hand on the slider reaches the page: the low knob to 0 is refused, the high
    // knob to 100 leaves no event share either.
    auto* slider = child<SMDoubleSlider>(&shown.page, "sdRatioSlider");
    keyKnobToEnd(slider, true, Qt::Key_Home);
    EXPECT_EQ(shown.page.ratioLoValue(), 0.0);
    EXPECT_EQ(labelText(&shown.page, "alwaysField"), QStringLiteral("0%"));
    EXPECT_EQ(labelText(&shown.page, "motionField"), QStringLiteral("20%"));
    keyKnobToEnd(slider, false, Qt::Key_End);
    EXPECT_EQ(shown.page.ratioHiValue(), 100.0);
    EXPECT_EQ(labelText(&shown.page, "eventField"), QStringLiteral("0%"));
    EXPECT_EQ(shown.page.validateUserInput(), tooLow);
}

TEST(AuxPage, RemappedChoicesAndTheInsetCorner)
{
    // lcd_screensaver: 0 default, 1 not used, 2 clock; parking_rear_off stored inverted.
    struct Case
    {
        uint32_t screenSaver, rearOff, pip;
        int saverSegment, rearSegment, row, column;
        uint32_t storedSaver, storedRearOff, storedPip;
    };
    for (const Case& c : {Case{0, 0, 0, 1, 1, 1, 1, 0, 0, 0}, Case{1, 1, 1, 0, 0, 0, 1, 1, 1, 1},
                          Case{2, 5, 2, 2, 0, 0, 0, 2, 1, 2}, Case{7, 0, 3, -1, 1, 1, 0, 7, 0, 3},
                          Case{2, 0, 7, 2, 1, 1, 1, 2, 0, 0}}) {
        _FILEDATA given = factoryRecord();
        given.lcd_screensaver = c.screenSaver;
        given.parking_rear_off = c.rearOff;
        given.pip_position = c.pip;
        Shown<VXLSettingForAuxViewController> shown(given);
        auto* saver = child<GWSegmentedControl>(&shown.page, "lcdScreenSaverSeg");
        auto* rear = child<GWSegmentedControl>(&shown.page, "parkingRearOffSeg");
        QRadioButton* cell = shown.page.pipPositionCell(c.row, c.column);
        ASSERT_TRUE(saver && rear && cell);
        EXPECT_EQ(saver->selectedSegment(), c.saverSegment) << c.screenSaver;
        EXPECT_EQ(rear->selectedSegment(), c.rearSegment) << c.rearOff;
        EXPECT_TRUE(cell->isChecked()) << c.pip;
        ASSERT_TRUE(shown.page.populate());
        EXPECT_EQ(shown.record.lcd_screensaver, c.storedSaver);
        EXPECT_EQ(shown.record.parking_rear_off, c.storedRearOff);
        EXPECT_EQ(shown.record.pip_position, c.storedPip);
    }
}

TEST(AuxPage, WifiChecksStopTheStoreAfterTheOtherFields)
{
    AlertRecorder alerts;
    struct Case
    {
        const char* ssid;
        const char* password;
        const char* failure; // key, or null when both pass
    };
    for (const Case& c : {Case{"abcd", "12345678", "setting.aux.ssid_length"},
                          Case{"", "12345678", "setting.aux.ssid_length"},
                          Case{"ab cd", "12345678", "setting.aux.ssid_invalid"},
                          Case{"abc\xc3\xa9z", "12345678", "setting.aux.ssid_invalid"},
                          Case{"abcde", "1234567", "setting.aux.password_length"},
                          Case{"abcde", "1234 5678", "setting.aux.password_invalid"},
                          Case{"a!~{}e", "!#$%&'()*+,-./", nullptr}}) {
        alerts.clear();
        Shown<VXLSettingForAuxViewController> shown(factoryRecord());
        child<QLineEdit>(&shown.page, "ssidLabel")->setText(QString::fromUtf8(c.ssid));
        child<QLineEdit>(&shown.page, "passwordLabel")->setText(QString::fromUtf8(c.password));
        child<QComboBox>(&shown.page, "wifiChannelCombo")->setCurrentIndex(13);
        clickSegment(child<GWSegmentedControl>(&shown.page, "gammaSeg"), 1);
        EXPECT_EQ(shown.page.populate(), c.failure == nullptr) << c.ssid << " " << c.password;
        EXPECT_EQ(shown.record.Gamma, 1u) << "stored before the Wi-Fi checks";
        if (c.failure) {
            ASSERT_EQ(alerts.alerts().size(), 1) << c.ssid;
            EXPECT_EQ(alerts.alerts()[0].message, QStringLiteral("Warning"));
            EXPECT_EQ(alerts.alerts()[0].informativeText,
                      localizedString(QString::fromLatin1(c.failure)));
            EXPECT_EQ(changedFields(shown.before, shown.record), QStringList({"Gamma"}));
        } else {
            EXPECT_TRUE(alerts.alerts().isEmpty());
            EXPECT_EQ(shown.record.wifi_channel, 13u);
            EXPECT_EQ(QByteArray(shown.record.wifi_ssid), QByteArray(c.ssid));
        }
    }

    // A 20-character name is cut to 16 as it is typed: stored as 16 bytes with no terminator,
    // and shown again as those 16 characters.
    Shown<VXLSettingForAuxViewController> shown(factoryRecord());
    auto* ssid = child<QLineEdit>(&shown.page, "ssidLabel");
    ssid->setText(QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
    EXPECT_EQ(ssid->text(), QStringLiteral("ABCDEFGHIJKLMNOP")) << "what is typed is what is kept";
    ASSERT_TRUE(shown.page.populate());
    EXPECT_EQ(fileDataToBytes(shown.record).mid(356, 16), QByteArray("ABCDEFGHIJKLMNOP"));
    shown.page.setFileData(&shown.record);
    EXPECT_EQ(ssid->text(), QStringLiteral("ABCDEFGHIJKLMNOP"));
}

TEST(ObdPage, SaveIntervalCodeRoundTrips)
{
    struct Case
    {
        uint32_t stored;
        uint32_t afterDisplay; // rewritten when shown
        int segment;
        int parking;
        int parkingClicked; // -1: left as shown
        uint32_t saved;
    };
    // The page stores 1 or 2 and shows them again as the first or second choice; parking
    // switched on keeps bits 5-7, switched off clears them.
    for (const Case& c :
         {Case{0x15, 0x11, 0, 1, -1, 0x11}, Case{7, 1, 0, 0, -1, 1}, Case{0, 0, 0, 0, -1, 1},
          Case{2, 2, 1, 0, -1, 2}, Case{0x12, 0x12, 1, 1, -1, 0x12}, Case{0x32, 0x32, 1, 0, -1, 2},
          Case{0x113, 0x11, 0, 1, -1, 0x11}, Case{0x112, 0x112, 1, 1, -1, 0x12},
          Case{0x72, 0x72, 1, 0, 1, 0x72}, Case{0x52, 0x52, 1, 0, 0, 0x02}}) {
        _FILEDATA given = factoryRecord();
        given.SaveDuration = c.stored;
        Shown<VXLSettingForObdViewController> shown(given);
        auto* interval = child<GWSegmentedControl>(&shown.page, "saveDurationSeg");
        auto* parking = child<GWSegmentedControl>(&shown.page, "useObdParkingSeg");
        ASSERT_TRUE(interval && parking);
        EXPECT_EQ(shown.record.SaveDuration, c.afterDisplay) << c.stored;
        EXPECT_EQ(interval->selectedSegment(), c.segment) << c.stored;
        EXPECT_EQ(parking->selectedSegment(), c.parking) << c.stored;
        if (c.parkingClicked >= 0)
            clickSegment(parking, c.parkingClicked);
        ASSERT_TRUE(shown.page.populate());
        EXPECT_EQ(shown.record.SaveDuration, c.saved) << c.stored;
    }
}

TEST(ObdPage, EcoBandsPowerAndTheFieldsItWrites)
{
    Shown<VXLSettingForObdViewController> shown(factoryRecord()); // bounds 60 and 20
    auto* slider = child<SMDoubleSlider>(&shown.page, "ecoSlider");
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->doubleLoValue(), 40.0);
    EXPECT_EQ(slider->doubleHiValue(), 80.0);
    EXPECT_EQ(labelText(&shown.page, "ecoDriveLabel"), QStringLiteral("Eco Drive : 0.60 or more"));
    EXPECT_EQ(labelText(&shown.page, "normalDriveLabel"),
              QStringLiteral("Normal Drive : 0.60 ~ 0.20"));
    EXPECT_EQ(labelText(&shown.page, "unecoDriveLabel"),
              QStringLiteral("Uneco Drive : 0.20 or less"));
    EXPECT_TRUE(child<QCheckBox>(&shown.page, "useEcoDriveChk")->isChecked()) << "MemConfig 176";
    EXPECT_EQ(child<QComboBox>(&shown.page, "powerVoltageCombo")->currentText(),
              QStringLiteral("12.1v"));
    // Untouched, the page writes only MemConfig, as the 1 its check box stands for.
    ASSERT_TRUE(shown.page.populate());
    EXPECT_EQ(changedFields(shown.before, shown.record), QStringList({"MemConfig"}));
    EXPECT_EQ(shown.record.MemConfig, 1u);

    keyKnobToEnd(slider, true, Qt::Key_Home);
    keyKnobToEnd(slider, false, Qt::Key_End);
    EXPECT_EQ(labelText(&shown.page, "ecoDriveLabel"), QStringLiteral("Eco Drive : 1.00 or more"));
    EXPECT_EQ(labelText(&shown.page, "unecoDriveLabel"),
              QStringLiteral("Uneco Drive : 0.00 or less"));

    // External power: written at once, and the cut-off and OBD parking no longer apply.
    auto* external = child<QCheckBox>(&shown.page, "useExternalPowerChk");
    auto* voltage = child<QComboBox>(&shown.page, "powerVoltageCombo");
    ASSERT_TRUE(external && voltage);
    external->click();
    EXPECT_EQ(shown.record.sd_mem_event_reserved, 1u);
    EXPECT_FALSE(voltage->isEnabled());
    EXPECT_FALSE(child<QWidget>(&shown.page, "useObdParkingSeg")->isEnabled());
    voltage->setCurrentIndex(0);
    ASSERT_TRUE(shown.page.populate());
    EXPECT_EQ(shown.record.drivingSecurity, 100u);
    EXPECT_EQ(shown.record.parkingSecurity, 0u);
    EXPECT_EQ(shown.record.sd_mem_always_reserved, 11500u);
    external->click();
    EXPECT_EQ(shown.record.sd_mem_event_reserved, 0u);
    EXPECT_TRUE(voltage->isEnabled());

    // Values the page cannot show are kept: the Basic page's "automatic" cut-off, bounds
    // beyond the slider.
    _FILEDATA odd = factoryRecord();
    odd.sd_mem_always_reserved = 1;
    odd.drivingSecurity = 150;
    odd.parkingSecurity = 0xFFFFFFFF;
    Shown<VXLSettingForObdViewController> kept(odd);
    EXPECT_EQ(child<QComboBox>(&kept.page, "powerVoltageCombo")->currentIndex(), -1);
    ASSERT_TRUE(kept.page.populate());
    EXPECT_EQ(changedFields(kept.before, kept.record), QStringList({"MemConfig"}));
}

} // namespace
