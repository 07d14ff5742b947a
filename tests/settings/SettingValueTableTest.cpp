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
    const auto specs = settingFieldSpecs();
    ASSERT_EQ(specs.size(), fields.size());
    for (std::size_t i = 0; i < fields.size(); ++i) {
        EXPECT_STREQ(specs[i].field, fields[i].name) << i;
        EXPECT_EQ(findSettingFieldSpec(fields[i].name), &specs[i]);
    }
    EXPECT_EQ(findSettingFieldSpec(u"no_such_field"), nullptr);
}

TEST(SettingValueTable, ChoicesLimitsAndFactoryValuesFitTheirFields)
{
    for (const SettingFieldSpec& spec : settingFieldSpecs()) {
        const FileDataField* field = findFileDataField(spec.field);
        ASSERT_NE(field, nullptr) << spec.field;
        // A field no page edits has no choices; an edited one names its pages.
        EXPECT_EQ(spec.kind == SettingValueKind::Fixed, spec.pages == SettingPage::None)
            << spec.field;
        EXPECT_EQ(spec.kind == SettingValueKind::Choice, !spec.choices.empty()) << spec.field;
        EXPECT_EQ(spec.kind == SettingValueKind::Text, field->type == FileDataFieldType::Text)
            << spec.field;
        EXPECT_GE(spec.fallbackIndex, -1) << spec.field;
        EXPECT_LT(spec.fallbackIndex, int(spec.choices.size())) << spec.field;
        expectChoicesFit(*field, spec.choices, spec.field);

        if (spec.kind == SettingValueKind::Range) {
            EXPECT_LE(spec.minimum, spec.maximum) << spec.field;
            EXPECT_TRUE(fitsField(*field, spec.minimum)) << spec.field;
            EXPECT_TRUE(fitsField(*field, spec.maximum)) << spec.field;
        }
        if (spec.keptOnReset)
            continue;
        switch (spec.kind) {
        case SettingValueKind::Choice:
            EXPECT_GE(settingChoiceIndex(spec.choices, spec.factory, -1), 0)
                << spec.field << " factory " << spec.factory << " is not a choice";
            break;
        case SettingValueKind::Range:
            EXPECT_GE(spec.factory, spec.minimum) << spec.field;
            EXPECT_LE(spec.factory, spec.maximum) << spec.field;
            break;
        case SettingValueKind::Text: {
            const QByteArray factory(spec.factoryText);
            EXPECT_LE(std::size_t(factory.size()), field->count) << spec.field;
            for (const char c : factory)
                EXPECT_TRUE(c > 0x20 && c < 0x7f) << spec.field;
            break;
        }
        case SettingValueKind::Fixed:
        case SettingValueKind::Flag:
            EXPECT_TRUE(fitsField(*field, spec.factory)) << spec.field;
            break;
        }
    }
}

TEST(SettingValueTable, PageListsBesideTheFields)
{
    // The mi/h speed lists replace the km/h ones segment for segment and store km/h bytes.
    const FileDataField* ldws = findFileDataField(u"ADAS_Ldws_Speed");
    const FileDataField* fcws = findFileDataField(u"ADAS_FCWS_Speed");
    const SettingFieldSpec* ldwsSpec = findSettingFieldSpec(u"ADAS_Ldws_Speed");
    const SettingFieldSpec* fcwsSpec = findSettingFieldSpec(u"ADAS_FCWS_Speed");
    ASSERT_TRUE(ldws && fcws && ldwsSpec && fcwsSpec);
    EXPECT_EQ(adasLdwsSpeedMileChoices().size(), ldwsSpec->choices.size());
    EXPECT_EQ(adasFcwsSpeedMileChoices().size(), fcwsSpec->choices.size());
    expectChoicesFit(*ldws, adasLdwsSpeedMileChoices(), "LDWS mi/h");
    expectChoicesFit(*fcws, adasFcwsSpeedMileChoices(), "FCWS mi/h");

    const SettingFieldSpec* rearFps = findSettingFieldSpec(u"rear_fps");
    ASSERT_NE(rearFps, nullptr);
    ASSERT_EQ(rearFpsChoicesAt50Hz().size(), rearFps->choices.size());
    for (std::size_t i = 0; i < rearFps->choices.size(); ++i)
        EXPECT_EQ(rearFpsChoicesAt50Hz()[i].value, rearFps->choices[i].value) << i;

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
