#pragma once

#include "settings/FileData.h"

#include <QAnyStringView>
#include <QFlags>

#include <span>

// What each field of the settings record means to the pages: its choices (record value and
// the label of each), limits, factory value, whether a reset keeps it and which pages edit
// it. The pages, the factory record and vexlo-tool read this one table, so a value is written
// down once. Labels are string-table keys or texts shown as they stand; the windows turn
// them into text.

// The pages that edit a field; a field may be edited on two pages.
enum class SettingPage : uint16_t {
    None = 0,
    Video = 1 << 0,
    Basic = 1 << 1,
    Gps = 1 << 2,
    Aux = 1 << 3,
    Motion = 1 << 4,
    Adas = 1 << 5,
    Audio = 1 << 6,
    Obd = 1 << 7,
};
Q_DECLARE_FLAGS(SettingPages, SettingPage)
Q_DECLARE_OPERATORS_FOR_FLAGS(SettingPages)

struct SettingLabel
{
    enum class Kind : uint8_t {
        Key,           // a string-table key
        Text,          // shown as it stands: digits, units, voltages
        KeyWithNumber, // a string-table format whose "%d" takes `number`
        TextWithKey,   // a text whose "%@" takes the text of `argumentKey`
    };
    Kind kind = Kind::Key;
    const char* text = "";
    const char* argumentKey = nullptr;
    int number = 0;
};

constexpr SettingLabel labelKey(const char* key)
{
    return {SettingLabel::Kind::Key, key, nullptr, 0};
}
constexpr SettingLabel labelText(const char* text)
{
    return {SettingLabel::Kind::Text, text, nullptr, 0};
}
constexpr SettingLabel labelKeyWithNumber(const char* formatKey, int number)
{
    return {SettingLabel::Kind::KeyWithNumber, formatKey, nullptr, number};
}
constexpr SettingLabel labelTextWithKey(const char* format, const char* argumentKey)
{
    return {SettingLabel::Kind::TextWithKey, format, argumentKey, 0};
}

struct SettingChoice
{
    qint64 value;
    SettingLabel label;
};

enum class SettingValueKind : uint8_t {
    Fixed,  // no page edits it: carried from file to file, factory value only
    Choice, // one of `choices`
    Flag,   // 0 off, anything else on; a page stores 1 or 0
    Range,  // a number from `minimum` to `maximum`
    Text,   // ASCII text, zero-padded to the field's width
};

struct SettingFieldInfo
{
    const char* field;
    SettingValueKind kind = SettingValueKind::Fixed;
    SettingPages pages = SettingPage::None;
    // The factory value; a U32Array field gets it in every element. Ignored when kept.
    qint64 factory = 0;
    const char* factoryText = "";
    // A reset to factory values leaves the field as it was (the card's value).
    bool keptOnReset = false;
    std::span<const SettingChoice> choices = {};
    // The choice shown, and stored unless changed, for a value not in the list; -1 shows no
    // choice and keeps the stored value.
    int fallbackIndex = -1;
    // Limits of a Range (input limits; a stored value outside them is kept as it is).
    qint64 minimum = 0;
    qint64 maximum = 0;
};

// Every field of the record, in file order.
std::span<const SettingFieldInfo> settingFieldInfos();
const SettingFieldInfo* findSettingFieldInfo(QAnyStringView field);

// Index of `value` among the info's choices; the fallback index when it is not one of them.
int settingChoiceIndex(const SettingFieldInfo& info, qint64 value);
int settingChoiceIndex(std::span<const SettingChoice> choices, qint64 value, int fallbackIndex);

// Lists a page needs beside the fields' own choices.

// The six segments of a G-sensor sensitivity group: five presets and "customize".
std::span<const SettingLabel> gsensorSensitivityLabels();
constexpr int kGsensorCustomIndex = 5;
struct GsensorPreset
{
    int drivingX;  // hundredths of g
    int drivingYZ; // Y and Z
    int parking;   // X, Y and Z
};
std::span<const GsensorPreset> gsensorPresets();
// Limits of a typed threshold, in hundredths of g (0.05 g to 1.5 g).
constexpr int kGsensorThresholdMinimum = 5;
constexpr int kGsensorThresholdMaximum = 150;

// The ADAS minimum speeds offered in mi/h; the value stored is km/h all the same.
std::span<const SettingChoice> adasLdwsSpeedMileChoices();
std::span<const SettingChoice> adasFcwsSpeedMileChoices();
// The choice shown for a stored speed that the list does not hold.
constexpr int kAdasSpeedFallbackIndex = 1;

// Rear frame rate labels when the mains frequency (Gamma) is 50 Hz.
std::span<const SettingChoice> rearFpsChoicesAt50Hz();

// The OBD page's lists. Its cut-off voltage list holds only the voltages; a stored value
// outside it (the Basic page's "not used", "automatic" or "external power") shows no item
// and is kept.
std::span<const SettingChoice> obdPowerVoltageChoices();
// The OBD page packs two choices into SaveDuration: a save-interval code in bits 0-3, one of
// these (1 off, 2 on; 0 is shown as off), and OBD in parking mode in bits 4-7 (0001 on).
std::span<const SettingChoice> obdSaveIntervalChoices();
std::span<const SettingChoice> obdParkingChoices();
