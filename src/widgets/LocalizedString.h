#pragma once

#include <QString>

// The text of a key in the English string table "InfoPlist" of the resources; an empty
// text for a key the table does not hold.
QString localizedString(const QString& key);

// Marks a key kept in a table rather than passed straight to localizedString, so the
// check that every key used has a text finds it too.
constexpr const char* stringKey(const char* key)
{
    return key;
}
