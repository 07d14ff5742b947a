#include "settings/SettingValueTable.h"
#include "widgets/LocalizedString.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

// Every string-table key the sources name: keys passed to localizedString, keys marked
// with stringKey in tables, and the "msg." keys the model layer hands back for a controller to
// show.
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
    return keys;
}

// The texts of the interface descriptions: a text, title or tool tip is a key when it has the
// shape of one ("menu.file") or, whatever its shape ("cancel"), when it is not marked notr;
// units, digits and axis letters carry notr and no key shape.
QSet<QString> keysUsedInInterfaceDescriptions()
{
    const QString root = qEnvironmentVariable("VEXLO_SOURCE_DIR");
    static const QSet<QString> textProperties = {
        QStringLiteral("text"), QStringLiteral("title"), QStringLiteral("windowTitle"),
        QStringLiteral("toolTip"), QStringLiteral("placeholderText")};
    static const QRegularExpression keyShape(
        QStringLiteral(R"re(^[a-z][a-z0-9_]*(?:\.[A-Za-z0-9_]+)+$)re"));
    QSet<QString> keys;
    for (const QString& folder : {QStringLiteral("/resources"), QStringLiteral("/src")}) {
        QDirIterator files(root + folder, {QStringLiteral("*.ui")}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile file(files.next());
            EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
            QXmlStreamReader xml(&file);
            bool inTextProperty = false;
            while (!xml.atEnd()) {
                xml.readNext();
                if (xml.isStartElement() && xml.name() == u"property")
                    inTextProperty = textProperties.contains(
                        xml.attributes().value(QStringLiteral("name")).toString());
                if (inTextProperty && xml.isStartElement() && xml.name() == u"string") {
                    const bool marked = xml.attributes().value(QStringLiteral("notr")) == u"true";
                    const QString text = xml.readElementText();
                    if (!text.isEmpty() && (!marked || keyShape.match(text).hasMatch()))
                        keys.insert(text);
                    inTextProperty = false;
                }
            }
            EXPECT_FALSE(xml.hasError()) << file.fileName().toStdString();
        }
    }
    return keys;
}

void addLabelKeys(const SettingLabel& label, QSet<QString>* keys)
{
    if (label.kind == SettingLabel::Kind::Key || label.kind == SettingLabel::Kind::KeyWithNumber)
        keys->insert(QString::fromUtf8(label.text));
    if (label.argumentKey)
        keys->insert(QString::fromUtf8(label.argumentKey));
}

// The keys of the choice labels in the settings value table.
QSet<QString> keysUsedInValueTable()
{
    QSet<QString> keys;
    const auto addChoices = [&keys](std::span<const SettingChoice> choices) {
        for (const SettingChoice& choice : choices)
            addLabelKeys(choice.label, &keys);
    };
    for (const SettingFieldInfo& info : settingFieldInfos())
        addChoices(info.choices);
    addChoices(adasLdwsSpeedMileChoices());
    addChoices(adasFcwsSpeedMileChoices());
    addChoices(rearFpsChoicesAt50Hz());
    addChoices(obdPowerVoltageChoices());
    addChoices(obdSaveIntervalChoices());
    addChoices(obdParkingChoices());
    for (const SettingLabel& label : gsensorSensitivityLabels())
        addLabelKeys(label, &keys);
    return keys;
}

TEST(StringTable, EveryKeyUsedHasAText)
{
    QSet<QString> keys = keysUsedInSources();
    // The scan itself must see the list's column titles, or it finds nothing at all.
    ASSERT_TRUE(keys.contains(QStringLiteral("filelist.mode")));
    ASSERT_TRUE(keys.contains(QStringLiteral("media.event")));
    const QSet<QString> interfaceKeys = keysUsedInInterfaceDescriptions();
    ASSERT_TRUE(interfaceKeys.contains(QStringLiteral("readout.satellites")))
        << "keys of Designer files";
    ASSERT_TRUE(interfaceKeys.contains(QStringLiteral("setting.basic.enable_gsensor")));
    ASSERT_FALSE(interfaceKeys.contains(QStringLiteral("X"))) << "marked not to be translated";
    keys += interfaceKeys;
    const QSet<QString> tableKeys = keysUsedInValueTable();
    ASSERT_TRUE(tableKeys.contains(QStringLiteral("setting.video.quality_highest")));
    ASSERT_TRUE(tableKeys.contains(QStringLiteral("nSecond_fmt")));
    keys += tableKeys;
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
