#pragma once

#include "settings/SettingValueTable.h"

#include <QString>
#include <QStringList>

#include <span>

// The text a choice label stands for: a key's text from the string table, a text as it
// stands, a localized format filled with its number ("%d") or a text filled with a key's
// text ("%@").
QString settingLabelText(const SettingLabel& label);
QStringList settingLabelTexts(std::span<const SettingLabel> labels);
QStringList settingChoiceTexts(std::span<const SettingChoice> choices);
