#include "settings/SettingValueTable.h"
#include "settings/FileDataFields.h"

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

} // namespace
