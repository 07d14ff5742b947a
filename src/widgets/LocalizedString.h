#pragma once

#include <QString>

class QObject;

// The text of a key in the English string table "InfoPlist" of the resources; an empty
// text for a key the table does not hold.
QString localizedString(const QString& key);

// Marks a key kept in a table rather than passed straight to localizedString, so the
// check that every key used has a text finds it too.
constexpr const char* stringKey(const char* key)
{
    return key;
}

// Replaces every string-table key that a window built from a Designer file carries in
// place of a text (titles, tool tips, labels, buttons, group titles, placeholders, combo
// items, tab texts, menus and actions) by its text. Texts that are not keys stay.
void localizeWidgetTree(QObject* root);
