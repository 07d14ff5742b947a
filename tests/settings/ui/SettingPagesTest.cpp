#include "SettingTestSupport.h"

#include "settings/ui/VXLCarNumberTextField.h"
#include "settings/ui/VXLSettingBinder.h"
#include "settings/ui/VXLSettingForAdasViewController.h"
#include "settings/ui/VXLSettingForAudioViewController.h"
#include "settings/ui/VXLSettingForBasicViewController.h"
#include "settings/ui/VXLSettingForGpsViewController.h"
#include "settings/ui/VXLSettingForMotionViewController.h"
#include "settings/ui/VXLSettingForVideoViewController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>

namespace {

// A page shown on a record: the record as it was given, the record the page works on.
template <typename Page> struct Shown
{
    explicit Shown(const _FILEDATA& given) : before(given), record(given)
    {
        page.setFileData(&record);
    }
    Page page;
    _FILEDATA before;
    _FILEDATA record;
};

TEST(BasicPage, ThresholdPresetsAndTypedThresholds)
{
    struct Case
    {
        int driving[3];
        int parking[3];
        int drivingIndex;
        int parkingIndex;
    };
    for (const Case& c : {Case{{50, 45, 45}, {8, 8, 8}, 2, 4}, Case{{50, 45, 44}, {8, 8, 12}, 5, 5},
                          Case{{70, 65, 65}, {25, 25, 25}, 0, 0}}) {
        _FILEDATA given = factoryRecord();
        given.gsen_x_threshold = c.driving[0];
        given.gsen_y_threshold = c.driving[1];
        given.gsen_z_threshold = c.driving[2];
        given.parkmode_x_threshold = c.parking[0];
        given.parkmode_y_threshold = c.parking[1];
        given.parkmode_z_threshold = c.parking[2];
        Shown<VXLSettingForBasicViewController> shown(given);
        auto* driving = child<GWSegmentedControl>(&shown.page, "gsensorSensitivityDrivingSeg");
        auto* parking = child<GWSegmentedControl>(&shown.page, "gsensorSensitivityParkingSeg");
        auto* drivingZ = child<QLineEdit>(&shown.page, "gsensorSensitivityThresholdZDrivingField");
        auto* parkingZ = child<QLineEdit>(&shown.page, "gsensorSensitivityThresholdZParkingField");
        ASSERT_TRUE(driving && parking && drivingZ && parkingZ);
        EXPECT_EQ(driving->selectedSegment(), c.drivingIndex) << c.driving[2];
        EXPECT_EQ(parking->selectedSegment(), c.parkingIndex) << c.parking[2];
        EXPECT_EQ(drivingZ->isEnabled(), c.drivingIndex == 5) << c.driving[2];
        EXPECT_EQ(parkingZ->text(), QString::asprintf("%.2f", c.parking[2] / 100.0));
        ASSERT_TRUE(shown.page.populate());
        EXPECT_EQ(changedFields(shown.before, shown.record), QStringList()) << c.driving[2];
    }

    // A preset chosen by hand fills its fields; typed thresholds are rounded, not truncated.
    Shown<VXLSettingForBasicViewController> shown(factoryRecord());
    clickSegment(child<GWSegmentedControl>(&shown.page, "gsensorSensitivityDrivingSeg"), 0);
    EXPECT_EQ(child<QLineEdit>(&shown.page, "gsensorSensitivityThresholdXDrivingField")->text(),
              QStringLiteral("0.70"));
    clickSegment(child<GWSegmentedControl>(&shown.page, "gsensorSensitivityParkingSeg"), 5);
    for (const auto& [name, text] : {std::pair{"gsensorSensitivityThresholdXParkingField", "0.29"},
                                     std::pair{"gsensorSensitivityThresholdYParkingField", "0.5x"},
                                     std::pair{"gsensorSensitivityThresholdZParkingField", ""}}) {
        auto* field = child<QLineEdit>(&shown.page, name);
        ASSERT_NE(field, nullptr);
        EXPECT_TRUE(field->isEnabled()) << name;
        field->setText(QString::fromLatin1(text));
    }
    EXPECT_EQ(shown.page.validateUserInput(), QString());
    ASSERT_TRUE(shown.page.populate());
    EXPECT_EQ(shown.record.gsen_x_threshold, 70);
    EXPECT_EQ(shown.record.gsen_y_threshold, 65);
    EXPECT_EQ(shown.record.parkmode_x_threshold, 29);
    EXPECT_EQ(shown.record.parkmode_y_threshold, 50);
    EXPECT_EQ(shown.record.parkmode_z_threshold, 0) << "an empty field is accepted and stored as 0";

    // A typed value out of range is refused, and populate stores nothing.
    auto* parkingX = child<QLineEdit>(&shown.page, "gsensorSensitivityThresholdXParkingField");
    parkingX->setText(QStringLiteral("0.04"));
    const _FILEDATA beforeRefusal = shown.record;
    EXPECT_EQ(shown.page.validateUserInput(),
              QStringLiteral("Enter a threshold from 0.05 g to 1.50 g."));
    EXPECT_FALSE(shown.page.populate());
    EXPECT_EQ(changedFields(beforeRefusal, shown.record), QStringList());
}

TEST(BasicPage, ValuesOutsideTheListsAndTheEditedFields)
{
    _FILEDATA given = factoryRecord();
    given.always_mode_timeout = 45;
    given.sd_mem_always_reserved = 11550;
    given.sd_mem_motion_reserved = 5;
    given.CableVoltCorr = 0;
    Shown<VXLSettingForBasicViewController> shown(given);
    EXPECT_EQ(shown.record.CableVoltCorr, 4u) << "0 is stored as 4 as soon as it is shown";
    auto* cable = child<GWSegmentedControl>(&shown.page, "cableVoltageLossSeg");
    auto* timeout = child<GWSegmentedControl>(&shown.page, "alwaysModeTimeoutSeg");
    auto* voltage = child<QComboBox>(&shown.page, "powerVoltageCombo");
    ASSERT_TRUE(cable && timeout && voltage);
    EXPECT_EQ(cable->label(cable->selectedSegment()), QStringLiteral("0.3v"));
    EXPECT_EQ(timeout->label(timeout->selectedSegment()), QStringLiteral("30 sec"));
    EXPECT_EQ(voltage->currentText(), QStringLiteral("12.0v / 24.0v"));
    ASSERT_TRUE(shown.page.populate());
    EXPECT_EQ(shown.record.always_mode_timeout, 30u);
    EXPECT_EQ(shown.record.sd_mem_always_reserved, 12000u);
    EXPECT_EQ(shown.record.sd_mem_motion_reserved, 0u);

    // Every control changed: exactly the page's fields change.
    clickSegment(timeout, 8);
    clickSegment(cable, 6);
    clickSegment(child<GWSegmentedControl>(&shown.page, "frontLEDSeg"), 1);
    clickSegment(child<GWSegmentedControl>(&shown.page, "rearLEDSeg"), 1);
    child<QCheckBox>(&shown.page, "gsensorEnableChk")->click();
    child<QComboBox>(&shown.page, "powerTimeCombo")->setCurrentIndex(7);
    voltage->setCurrentIndex(1);
    child<QLineEdit>(&shown.page, "carNumberField")->setText(QStringLiteral("12GA3456"));
    const _FILEDATA before = shown.record;
    ASSERT_TRUE(shown.page.populate());
    EXPECT_EQ(changedFields(before, shown.record),
              QStringList({"sd_mem_always_reserved", "sd_mem_motion_reserved",
                           "always_mode_timeout", "g_sensor_enable", "ledoff", "szPlateNumber",
                           "ledoff_rear", "CableVoltCorr"}));
    EXPECT_EQ(shown.record.always_mode_timeout, 600u);
    EXPECT_EQ(shown.record.sd_mem_motion_reserved, 48u);
    EXPECT_EQ(shown.record.sd_mem_always_reserved, 1u);
    EXPECT_EQ(shown.record.CableVoltCorr, 7u);
    EXPECT_EQ(QByteArray(shown.record.szPlateNumber, 8), QByteArray("12GA3456"))
        << "eight characters fill the field with no terminator";
}

TEST(BasicPage, DetectionSwitchExternalPowerAndCarNumber)
{
    AlertRecorder alerts;
    _FILEDATA given = factoryRecord();
    given.g_sensor_enable = 0;
    given.parkmode_z_threshold = 12; // a customized group
    given.sd_mem_event_reserved = 1;
    Shown<VXLSettingForBasicViewController> shown(given);
    // With detection off nothing of the G-sensor takes input, a customized group included.
    for (const char* name :
         {"gsensorSensitivityDrivingSeg", "gsensorSensitivityParkingSeg",
          "gsensorSensitivityThresholdXDrivingField", "gsensorSensitivityThresholdZParkingField"})
        EXPECT_FALSE(child<QWidget>(&shown.page, name)->isEnabled()) << name;
    child<QCheckBox>(&shown.page, "gsensorEnableChk")->click();
    EXPECT_TRUE(
        child<QWidget>(&shown.page, "gsensorSensitivityThresholdZParkingField")->isEnabled());
    EXPECT_FALSE(
        child<QWidget>(&shown.page, "gsensorSensitivityThresholdZDrivingField")->isEnabled());

    // External power disables the combos; their values are still stored.
    auto* voltage = child<QComboBox>(&shown.page, "powerVoltageCombo");
    auto* external = child<QCheckBox>(&shown.page, "useExternalPowerChk");
    ASSERT_TRUE(voltage && external);
    EXPECT_TRUE(external->isChecked());
    EXPECT_FALSE(voltage->isEnabled());
    EXPECT_FALSE(child<QComboBox>(&shown.page, "powerTimeCombo")->isEnabled());
    voltage->setCurrentIndex(12);
    ASSERT_TRUE(shown.page.populate());
    EXPECT_EQ(shown.record.sd_mem_always_reserved, 12400u);
    // The switch writes the record at once.
    external->click();
    EXPECT_EQ(shown.record.sd_mem_event_reserved, 0u);
    EXPECT_TRUE(voltage->isEnabled());
    // Choosing external power as the cut-off only warns.
    voltage->setCurrentIndex(0);
    QTest::keyClick(voltage, Qt::Key_Down);
    QTest::keyClick(voltage, Qt::Key_Down);
    ASSERT_EQ(alerts.alerts().size(), 1);
    EXPECT_EQ(alerts.alerts()[0].message, QStringLiteral("Warning"));
    EXPECT_EQ(voltage->currentIndex(), 2);

    // The car number keeps ASCII letters and digits, eight at most, once editing ends.
    auto* number = child<VXLCarNumberTextField>(&shown.page, "carNumberField");
    ASSERT_NE(number, nullptr);
    for (const auto& [typed, kept] :
         {std::pair{u"12 ab-3456789", u"12ab3456"}, std::pair{u"\u00e9A\ud55c1\u00df", u"A1"},
          std::pair{u"-- !", u""}}) {
        number->setFocus();
        number->setText(QString::fromUtf16(typed));
        Q_EMIT number->editingFinished();
        EXPECT_EQ(number->text(), QString::fromUtf16(kept));
    }
    ASSERT_TRUE(shown.page.populate());
    EXPECT_EQ(QByteArray(shown.record.szPlateNumber, 8), QByteArray(8, '\0'));
}

TEST(VideoPage, FrameRateLabelsFallbackAndQualityWarning)
{
    AlertRecorder alerts;
    for (const auto& [gamma, first] : {std::pair{0u, "30fps"}, std::pair{1u, "25fps"}}) {
        _FILEDATA given = factoryRecord();
        given.Gamma = gamma;
        given.rear_fps = 1;
        Shown<VXLSettingForVideoViewController> shown(given);
        auto* fps = child<GWSegmentedControl>(&shown.page, "rearfpsSeg");
        ASSERT_NE(fps, nullptr);
        EXPECT_EQ(segmentLabels(fps), QStringList({first, "15fps"}));
        EXPECT_EQ(fps->selectedSegment(), 1);
    }

    _FILEDATA given = factoryRecord();
    given.flip_video = 7;     // shown and saved as 0
    given.vid_brightness = 9; // no choice shown, kept
    given.vid_enc_bitrate = 1;
    Shown<VXLSettingForVideoViewController> shown(given);
    EXPECT_EQ(child<GWSegmentedControl>(&shown.page, "videoBrightness")->selectedSegment(), -1);
    ASSERT_TRUE(shown.page.populate());
    EXPECT_EQ(changedFields(shown.before, shown.record), QStringList({"flip_video"}));
    EXPECT_EQ(shown.record.vid_brightness, 9u);
    EXPECT_TRUE(alerts.alerts().isEmpty()) << "no quality changed, no warning";

    clickSegment(child<GWSegmentedControl>(&shown.page, "videoEncodingBitrateRear"), 2);
    clickSegment(child<GWSegmentedControl>(&shown.page, "frontTinting"), 3);
    ASSERT_TRUE(shown.page.populate());
    ASSERT_EQ(alerts.alerts().size(), 1);
    EXPECT_EQ(alerts.alerts()[0].informativeText,
              localizedString(QStringLiteral("msg.video_quality_warning")));
    EXPECT_EQ(shown.record.vid_enc_bitrate_R, 2u);
    EXPECT_EQ(shown.record.front_cpl_use, 3u);

    // Shown again, the page remembers the new qualities and does not warn.
    alerts.clear();
    Shown<VXLSettingForVideoViewController> again(shown.record);
    ASSERT_TRUE(again.page.populate());
    EXPECT_TRUE(alerts.alerts().isEmpty());
}

TEST(GpsPage, TimeZoneAndChoices)
{
    _FILEDATA given = factoryRecord();
    given.time_gmt = 22;
    given.summer_time = 2;
    Shown<VXLSettingForGpsViewController> shown(given);
    auto* zone = child<QComboBox>(&shown.page, "timeGmtCombo");
    ASSERT_NE(zone, nullptr);
    ASSERT_EQ(zone->count(), 34);
    EXPECT_EQ(zone->currentText(), QStringLiteral("+05:30"));
    EXPECT_TRUE(child<QCheckBox>(&shown.page, "summerTimeChk")->isChecked());
    clickSegment(child<GWSegmentedControl>(&shown.page, "drivingDaySeg"), 7);
    clickSegment(child<GWSegmentedControl>(&shown.page, "speedDisplayUnitSeg"), 0);
    clickSegment(child<GWSegmentedControl>(&shown.page, "saveDurationSeg"), 6);
    ASSERT_TRUE(shown.page.populate());
    EXPECT_EQ(changedFields(shown.before, shown.record),
              QStringList({"speed_disp_unit", "summer_time", "nodriving_day", "SaveDuration"}));
    EXPECT_EQ(shown.record.summer_time, 1u);
    EXPECT_EQ(shown.record.nodriving_day, 7u);
    EXPECT_EQ(shown.record.SaveDuration, 6u);

    // A zone the table lacks shows no item and is stored as -1.
    given.time_gmt = -1;
    Shown<VXLSettingForGpsViewController> none(given);
    EXPECT_EQ(child<QComboBox>(&none.page, "timeGmtCombo")->currentIndex(), -1);
    none.record.time_gmt = 40;
    ASSERT_TRUE(none.page.populate());
    EXPECT_EQ(none.record.time_gmt, -1);
}

TEST(MotionPage, BlockGridsAndSensitivity)
{
    _FILEDATA given = factoryRecord();
    given.motionBlock = 0xFFFFF000u | 96u; // bits above block 12 set
    given.motion1080pCValue = 0;
    Shown<VXLSettingForMotionViewController> shown(given);
    const QList<QCheckBox*> front = shown.page.frontMotionBlocks();
    const QList<QCheckBox*> rear = shown.page.rearMotionBlocks();
    ASSERT_EQ(front.size(), 12);
    ASSERT_EQ(rear.size(), 12);
    for (int block = 1; block <= 12; ++block) {
        ASSERT_TRUE(front[block - 1] && rear[block - 1]) << block;
        const bool off = block == 6 || block == 7;
        EXPECT_EQ(front[block - 1]->isChecked(), !off) << block;
        EXPECT_EQ(rear[block - 1]->isChecked(), !off) << block;
        EXPECT_TRUE(front[block - 1]->isEnabled()) << block;
        EXPECT_FALSE(rear[block - 1]->isEnabled()) << "rear detection is not used";
    }
    ASSERT_TRUE(shown.page.populate());
    EXPECT_EQ(shown.record.motionBlock, 96u) << "bits above block 12 are dropped";
    EXPECT_EQ(shown.record.motionBlock_Rear, 96u);

    // Block 1 off is bit 8, block 12 off bit 3; sensitivity 0 keeps the boxes' states.
    front[0]->click();
    front[11]->click();
    front[5]->click();
    clickSegment(child<GWSegmentedControl>(&shown.page, "frontSensitivitySeg"), 0);
    EXPECT_FALSE(front[0]->isEnabled());
    ASSERT_TRUE(shown.page.populate());
    EXPECT_EQ(shown.record.motionBlock, 0x100u | 0x8u | 0x40u);
    EXPECT_EQ(shown.record.motion720pCValue, 0u);
}

TEST(AdasPage, SpeedsInTheRecordsUnitStoredInKmh)
{
    struct Case
    {
        uint32_t unit;
        uint8_t stored;
        int index;
        const char* label;
        uint8_t saved;
    };
    for (const Case& c : {Case{1, 30, 1, "20Mi/h", 32}, Case{0, 30, 1, "30Km/h", 30},
                          Case{1, 35, 1, "20Mi/h", 32}, Case{0, 35, 1, "30Km/h", 30},
                          Case{1, 0, 0, "Not used", 0}, Case{1, 95, 8, "60Mi/h", 95}}) {
        _FILEDATA given = factoryRecord();
        given.speed_disp_unit = c.unit;
        given.ADAS_Ldws_Speed = c.stored;
        VXLSettingForAdasViewController page(&given);
        page.setFileData(&given);
        auto* ldws = child<GWSegmentedControl>(&page, "adasLdwsSpeedSeg");
        ASSERT_NE(ldws, nullptr);
        EXPECT_EQ(ldws->segmentCount(), 9);
        EXPECT_EQ(ldws->selectedSegment(), c.index) << c.stored;
        EXPECT_EQ(ldws->label(ldws->selectedSegment()), QString::fromLatin1(c.label));
        ASSERT_TRUE(page.populate());
        EXPECT_EQ(given.ADAS_Ldws_Speed, c.saved) << c.unit << " " << int(c.stored);
    }

    // The factory record: sedan, 20 Mi/h twice (stored as 32 on the next save), alert on,
    // every sensitivity "2(Sensitive)".
    Shown<VXLSettingForAdasViewController> shown(factoryRecord());
    EXPECT_EQ(child<GWSegmentedControl>(&shown.page, "adasCarSeg")->selectedSegment(), 0);
    EXPECT_EQ(child<GWSegmentedControl>(&shown.page, "adasFcwsSpeedSeg")->label(1),
              QStringLiteral("20Mi/h"));
    auto* fcmd = child<GWSegmentedControl>(&shown.page, "adasFcmdSensSeg");
    EXPECT_EQ(fcmd->label(fcmd->selectedSegment()), QStringLiteral("2(Sensitive)"));
    clickSegment(child<GWSegmentedControl>(&shown.page, "adasFcmdEnableSeg"), 0);
    ASSERT_TRUE(shown.page.populate());
    EXPECT_EQ(changedFields(shown.before, shown.record),
              QStringList({"ADAS_Ldws_Speed", "ADAS_FCWS_Speed", "ADAS_FCMD_Enable"}));
    EXPECT_EQ(shown.record.ADAS_FCWS_Speed, 32);
}

TEST(AudioPage, LanguageCodesBothWays)
{
    for (const auto& [code, segment, saved] :
         {std::tuple{0u, 0, 0u}, {1u, 1, 1u}, {5u, 2, 5u}, {6u, 3, 6u}, {3u, 0, 0u}, {7u, 0, 0u}}) {
        _FILEDATA given = factoryRecord();
        given.Brightness1 = code;
        Shown<VXLSettingForAudioViewController> shown(given);
        EXPECT_EQ(child<GWSegmentedControl>(&shown.page, "voiceLangRadio")->selectedSegment(),
                  segment)
            << code;
        ASSERT_TRUE(shown.page.populate());
        EXPECT_EQ(shown.record.Brightness1, saved) << code;
    }

    Shown<VXLSettingForAudioViewController> shown(factoryRecord());
    auto* mic = child<GWSegmentedControl>(&shown.page, "micSeg");
    ASSERT_NE(mic, nullptr);
    EXPECT_EQ(segmentLabels(mic), QStringList({"Not used", "1(Low)", "2", "3(High)"}));
    clickSegment(mic, 0);
    clickSegment(child<GWSegmentedControl>(&shown.page, "voiceLangRadio"), 3);
    child<QCheckBox>(&shown.page, "useEveryHourNoticeChk")->click();
    ASSERT_TRUE(shown.page.populate());
    EXPECT_EQ(changedFields(shown.before, shown.record),
              QStringList({"aud_input_vol", "alarm_ontime_flag", "Brightness1"}));
    EXPECT_EQ(shown.record.Brightness1, 6u);
}

// Controls named after fields are bound without an outlet list; only the page's own fields.
TEST(SettingBinder, ControlsNamedAfterFields)
{
    QWidget page;
    auto* ratio = new QSpinBox(&page);
    ratio->setObjectName(QStringLiteral("sd_mem_always_ratio"));
    auto* alarm = new QCheckBox(&page);
    alarm->setObjectName(QStringLiteral("parking_alarm"));
    auto* ssid = new QLineEdit(&page);
    ssid->setObjectName(QStringLiteral("wifi_ssid"));
    auto* channel = new QComboBox(&page);
    channel->setObjectName(QStringLiteral("wifi_channel"));
    auto* otherPage = new QCheckBox(&page);
    otherPage->setObjectName(QStringLiteral("g_sensor_enable"));
    VXLSettingBinder binder;
    binder.bindPage(&page, SettingPage::Aux);
    EXPECT_EQ(binder.boundFields(),
              QStringList({"sd_mem_always_ratio", "parking_alarm", "wifi_ssid", "wifi_channel"}));
    EXPECT_EQ(ratio->maximum(), 100);
    EXPECT_EQ(channel->count(), 14);

    _FILEDATA record = factoryRecord();
    std::memcpy(record.wifi_ssid, "\xff\xfeNet\x80", 5); // not UTF-8: shown garbled, kept
    record.wifi_channel = 20;
    const _FILEDATA before = record;
    binder.display(record);
    EXPECT_EQ(ratio->value(), 70);
    EXPECT_TRUE(alarm->isChecked());
    EXPECT_EQ(channel->currentIndex(), -1);
    binder.store(&record);
    EXPECT_EQ(changedFields(before, record), QStringList()) << "nothing changed, nothing written";

    ratio->setValue(55);
    alarm->setChecked(false);
    ssid->setText(QStringLiteral("Garage"));
    channel->setCurrentIndex(13);
    binder.store(&record);
    EXPECT_EQ(record.sd_mem_always_ratio, 55u);
    EXPECT_EQ(record.parking_alarm, 0u);
    EXPECT_EQ(QByteArray(record.wifi_ssid, 16), QByteArray("Garage").leftJustified(16, '\0'));
    EXPECT_EQ(record.wifi_channel, 13u);
}

} // namespace
