#include "widgets/LocalizedString.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace {

// Every string-table key the sources name: keys passed to localizedString, keys marked
// with stringKey in tables, keys in Designer files, and the "msg." keys the model layer hands back
// for a controller to show.
QSet<QString> keysUsedInSources()
{
    const QString sourceDir = qEnvironmentVariable("VEXLO_SOURCE_DIR") + QStringLiteral("/src");
    static const QRegularExpression used(QStringLiteral(
        R"re((?:localizedString\(\s*(?:QStringLiteral\()?|stringKey\()"([^"]+)")re"));
    static const QRegularExpression message(QStringLiteral(R"re("(msg\.[A-Za-z0-9_.]+)")re"));
    QSet<QString> keys;
    QDirIterator files(sourceDir, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        const QString text = QString::fromUtf8(file.readAll());
        for (const QRegularExpression* pattern : {&used, &message}) {
            for (const QRegularExpressionMatch& match : pattern->globalMatch(text)) {
                keys.insert(match.captured(1));
            }
        }
    }
    // Designer files carry keys where a text goes: every string that has the shape of a key.
    static const QRegularExpression uiKey(
        QStringLiteral(R"re(<string[^>]*>([a-z][a-z0-9_]*(?:\.[a-z0-9_]+)+)</string>)re"));
    const QString uiDir =
        qEnvironmentVariable("VEXLO_SOURCE_DIR") + QStringLiteral("/resources/ui");
    QDirIterator uiFiles(uiDir, {QStringLiteral("*.ui")}, QDir::Files);
    while (uiFiles.hasNext()) {
        QFile file(uiFiles.next());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        for (const QRegularExpressionMatch& match :
             uiKey.globalMatch(QString::fromUtf8(file.readAll()))) {
            keys.insert(match.captured(1));
        }
    }
    return keys;
}

TEST(StringTable, EveryKeyUsedHasAText)
{
    const QSet<QString> keys = keysUsedInSources();
    // The scan itself must see the list's column titles, or it finds nothing at all.
    ASSERT_TRUE(keys.contains(QStringLiteral("filelist.mode")));
    ASSERT_TRUE(keys.contains(QStringLiteral("media.event")));
    ASSERT_TRUE(keys.contains(QStringLiteral("readout.satellites"))) << "keys of Designer files";
    QStringList missing;
    for (const QString& key : keys) {
        if (localizedString(key).isEmpty()) {
            missing << key;
        }
    }
    missing.sort();
    EXPECT_TRUE(missing.isEmpty())
        << "keys without a text: " << missing.join(QStringLiteral(", ")).toStdString();
}

TEST(StringTable, UnknownKeyGivesEmptyText)
{
    EXPECT_EQ(localizedString(QStringLiteral("no.such.key")), QString());
    EXPECT_EQ(localizedString(QString()), QString());
    EXPECT_EQ(localizedString(QStringLiteral("filelist.date")), QStringLiteral("Date"));
}

} // namespace
