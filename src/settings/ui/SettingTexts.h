#pragma once

#include "settings/SettingValueTable.h"

#include <QString>
#include <QStringList>

#include <span>

class QWidget;

// The text a choice label stands for: a key's text from the string table, a text as it
// stands, a localized format filled with its number ("%d") or a text filled with a key's
// text ("%@").
QString settingLabelText(const SettingLabel& label);
QStringList settingLabelTexts(std::span<const SettingLabel> labels);
QStringList settingChoiceTexts(std::span<const SettingChoice> choices);

// The pages' interface descriptions hold string-table keys as the titles of their boxes and
// the texts of their labels, check boxes and buttons: this replaces each key below `root` by
// its text. A text that is not a key (a unit, a digit) stays as it is.
void localizeWidgetTexts(QWidget* root);
