#include "LocalizedString.h"

#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QHash<QString, QString> loadTable()
{
    QHash<QString, QString> table;
    QFile file(QStringLiteral(":/strings/InfoPlist.json"));
    if (!file.open(QIODevice::ReadOnly)) {
        return table;
    }
    const QJsonObject object = QJsonDocument::fromJson(file.readAll()).object();
    for (auto it = object.begin(); it != object.end(); ++it) {
        table.insert(it.key(), it.value().toString());
    }
    return table;
}

} // namespace

QString localizedString(const QString& key)
{
    // Loaded once, on first use; the interface only asks from the GUI thread, and a
    // function-local static is initialised thread-safely anyway.
    static const QHash<QString, QString> table = loadTable();
    return table.value(key);
}
