#include "settings/SettingValueTable.h"
#include "settings/FileDataFields.h"

#include <QList>
#include <QSet>

#include <gtest/gtest.h>

#include <cstring>

namespace {

bool fitsField(const FileDataField& field, qint64 value)
{
    _FILEDATA scratch{};
    return setFileDataNumber(&scratch, field, value);
}

void expectChoicesFit(const FileDataField& field, std::span<const SettingChoice> choices,
                      const char* list)
{
    QSet<qint64> seen;
    for (const SettingChoice& choice : choices) {
        EXPECT_TRUE(fitsField(field, choice.value)) << list << " " << choice.value;
        EXPECT_FALSE(seen.contains(choice.value)) << list << " repeats " << choice.value;
        seen.insert(choice.value);
        EXPECT_GT(std::strlen(choice.label.text), 0u) << list << " " << choice.value;
        EXPECT_EQ(choice.label.kind == SettingLabel::Kind::TextWithKey,
                  choice.label.argumentKey != nullptr)
            << list << " " << choice.value;
    }
}

TEST(SettingValueTable, CoversEveryFieldOfTheRecordInFileOrder)
{
    const auto fields = fileDataFields();
    const auto infos = settingFieldInfos();
    ASSERT_EQ(infos.size(), fields.size());
    for (std::size_t i = 0; i < fields.size(); ++i) {
        EXPECT_STREQ(infos[i].field, fields[i].name) << i;
        EXPECT_EQ(findSettingFieldInfo(fields[i].name), &infos[i]);
    }
    EXPECT_EQ(findSettingFieldInfo(u"no_such_field"), nullptr);
}

TEST(SettingValueTable, ChoicesLimitsAndFactoryValuesFitTheirFields)
{
    for (const SettingFieldInfo& info : settingFieldInfos()) {
        const FileDataField* field = findFileDataField(info.field);
        ASSERT_NE(field, nullptr) << info.field;
        // A field no page edits has no choices; an edited one names its pages.
        EXPECT_EQ(info.kind == SettingValueKind::Fixed, info.pages == SettingPage::None)
            << info.field;
        EXPECT_EQ(info.kind == SettingValueKind::Choice, !info.choices.empty()) << info.field;
        EXPECT_EQ(info.kind == SettingValueKind::Text, field->type == FileDataFieldType::Text)
            << info.field;
        EXPECT_GE(info.fallbackIndex, -1) << info.field;
        EXPECT_LT(info.fallbackIndex, int(info.choices.size())) << info.field;
        expectChoicesFit(*field, info.choices, info.field);

        if (info.kind == SettingValueKind::Range) {
            EXPECT_LE(info.minimum, info.maximum) << info.field;
            EXPECT_TRUE(fitsField(*field, info.minimum)) << info.field;
            EXPECT_TRUE(fitsField(*field, info.maximum)) << info.field;
        }
        if (info.keptOnReset)
            continue;
        switch (info.kind) {
        case SettingValueKind::Choice:
            EXPECT_GE(settingChoiceIndex(info.choices, info.factory, -1), 0)
                << info.field << " factory " << info.factory << " is not a choice";
            break;
        case SettingValueKind::Range:
            EXPECT_GE(info.factory, info.minimum) << info.field;
            EXPECT_LE(info.factory, info.maximum) << info.field;
            break;
        case SettingValueKind::Text: {
            const QByteArray factory(info.factoryText);
            EXPECT_LE(std::size_t(factory.size()), field->count) << info.field;
            for (const char c : factory)
                EXPECT_TRUE(c > 0x20 && c < 0x7f) << info.field;
            break;
        }
        case SettingValueKind::Fixed:
        case SettingValueKind::Flag:
            EXPECT_TRUE(fitsField(*field, info.factory)) << info.field;
            break;
        }
    }
}

TEST(SettingValueTable, PageListsBesideTheFields)
{
    // The mi/h speed lists replace the km/h ones segment for segment and store km/h bytes.
    const FileDataField* ldws = findFileDataField(u"ADAS_Ldws_Speed");
    const FileDataField* fcws = findFileDataField(u"ADAS_FCWS_Speed");
    const SettingFieldInfo* ldwsInfo = findSettingFieldInfo(u"ADAS_Ldws_Speed");
    const SettingFieldInfo* fcwsInfo = findSettingFieldInfo(u"ADAS_FCWS_Speed");
    ASSERT_TRUE(ldws && fcws && ldwsInfo && fcwsInfo);
    EXPECT_EQ(adasLdwsSpeedMileChoices().size(), ldwsInfo->choices.size());
    EXPECT_EQ(adasFcwsSpeedMileChoices().size(), fcwsInfo->choices.size());
    expectChoicesFit(*ldws, adasLdwsSpeedMileChoices(), "LDWS mi/h");
    expectChoicesFit(*fcws, adasFcwsSpeedMileChoices(), "FCWS mi/h");

    const SettingFieldInfo* rearFps = findSettingFieldInfo(u"rear_fps");
    ASSERT_NE(rearFps, nullptr);
    ASSERT_EQ(rearFpsChoicesAt50Hz().size(), rearFps->choices.size());
    for (std::size_t i = 0; i < rearFps->choices.size(); ++i)
        EXPECT_EQ(rearFpsChoicesAt50Hz()[i].value, rearFps->choices[i].value) << i;

    // The OBD page offers the Basic page's voltages of the same field, and packs its two choices
    // into the four bits each has.
    const FileDataField* voltage = findFileDataField(u"sd_mem_always_reserved");
    const SettingFieldInfo* voltageInfo = findSettingFieldInfo(u"sd_mem_always_reserved");
    ASSERT_TRUE(voltage && voltageInfo);
    expectChoicesFit(*voltage, obdPowerVoltageChoices(), "OBD voltage");
    for (const SettingChoice& choice : obdPowerVoltageChoices())
        EXPECT_GE(settingChoiceIndex(voltageInfo->choices, choice.value, -1), 0) << choice.value;
    for (const auto choices : {obdSaveIntervalChoices(), obdParkingChoices()}) {
        for (const SettingChoice& choice : choices)
            EXPECT_TRUE(choice.value >= 0 && choice.value < 16) << choice.value;
    }

    // Five presets and "customize"; every preset threshold is one a user could type.
    EXPECT_EQ(gsensorSensitivityLabels().size(), std::size_t(kGsensorCustomIndex + 1));
    ASSERT_EQ(gsensorPresets().size(), std::size_t(kGsensorCustomIndex));
    for (const GsensorPreset& preset : gsensorPresets()) {
        for (const int threshold : {preset.drivingX, preset.drivingYZ, preset.parking}) {
            EXPECT_GE(threshold, kGsensorThresholdMinimum);
            EXPECT_LE(threshold, kGsensorThresholdMaximum);
        }
    }
}

// The record value each choice stores, in the order the pages show the choices, written down
// from the encodings of the record's field table and the pages' segment tables. A choice of
// two values may also be a switch, which stores 0 or 1; a grid of cells is a range.
TEST(SettingValueTable, ChoicesStoreTheEncodedValues)
{
    const char* const encodings[] = {
        "sd_mem_always_reserved 0 1 10000 11500 11600 11700 11800 11900 12000 12100 12200 "
        "12300 12400",
        "sd_mem_motion_reserved 0 3 6 9 12 24 36 48",
        "aud_input_vol 0 1 2 3",
        "aud_output_vol 0 1 2 3",
        "vid_enc_bitrate 0 1 2",
        "vid_brightness 0 1 2 3 4",
        "always_mode_timeout 0 10 30 60 120 180 300 420 600",
        "motion1080pCValue 0 1 2 3 4 5",
        "motion720pCValue 0 1 2 3 4 5",
        "speed_disp_unit 0 1",
        "nodriving_day 0 1 2 3 4 5 6 7",
        "SaveDuration 0 1 2 3 4 5 6 7",
        "DayTime 0 1 2",
        "NightTime 0 1",
        "ledoff 0 1",
        "Gamma 0 1",
        "vid_enc_bitrate_R 0 1 2",
        "vid_brightness_R 0 1 2 3 4",
        "lcd_autopoweroff 0 1 2 3",
        "lcd_brightness 0 1 2",
        "lcd_screensaver 1 0 2", // segments "unuse", "default", "time"
        "parking_rear_off 1 0",  // segment "unuse" first
        "flip_video 0 1",
        "parking_alarm 0 1",
        "rear_fps 0 1",
        "ledoff_rear 0 1",
        "always_mode_recording_time 0 1",
        "pip_position 0 1 2 3",
        "lcd_brightness_night 0 1",
        "front_cpl_use 0 1 2 3",
        "rear_cpl_use 0 1 2",
        "CableVoltCorr 1 2 3 4 5 6 7",
        "autoFormatAlarm 0 1 2 3 4",
        "ADAS_Car 0 1 2",
        "ADAS_LDWS_Sens 0 1 2",
        "ADAS_FCWS_Sens 0 1 2",
        "ADAS_FCMD_Sens 0 1 2",
        "ParkingMode 0 1",
        "wifi_channel 0 1 2 3 4 5 6 7 8 9 10 11 12 13",
    };
    for (const char* encoding : encodings) {
        QList<QByteArray> words = QByteArray(encoding).split(' ');
        const QByteArray name = words.takeFirst();
        SCOPED_TRACE(name.constData());
        const SettingFieldInfo* info = findSettingFieldInfo(QLatin1StringView(name));
        ASSERT_NE(info, nullptr);
        QList<qint64> expected;
        for (const QByteArray& word : words)
            expected << word.toLongLong();
        if (info->kind == SettingValueKind::Flag) {
            EXPECT_EQ(expected, (QList<qint64>{0, 1}));
            continue;
        }
        QList<qint64> stored;
        if (info->kind == SettingValueKind::Range) { // a grid of cells, one value each
            for (qint64 value = info->minimum; value <= info->maximum; ++value)
                stored << value;
        } else {
            ASSERT_EQ(int(info->kind), int(SettingValueKind::Choice));
            for (const SettingChoice& choice : info->choices)
                stored << choice.value;
        }
        EXPECT_EQ(stored, expected);
    }
}

} // namespace
