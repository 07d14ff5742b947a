#include "VXLSettingCard.h"

#include "cardtools/ShellScript.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>

namespace {

Q_LOGGING_CATEGORY(lcSettingCard, "vexlo.settings.ui", QtWarningMsg)

const QString kCardVolumeName = QStringLiteral("ZUVA");

QString settingFilePathOn(const GWUSBDiskEntity& card)
{
    return QDir(card.mountedURL().toLocalFile()).filePath(QString::fromLatin1(kSettingFileName));
}

} // namespace

QVariantMap renameVolumeToZuva(const GWUSBDiskEntity& card)
{
    return runShellScript(QStringLiteral("fatlabel"), {card.deviceFilePath(), kCardVolumeName},
                          true);
}

SettingCard findSettingCard(const BlockDeviceSource& source, const VolumeRenamer& renamer)
{
    const VolumeQuery<QList<GWUSBDiskEntity>> volumes = usbDiskEntities(source);
    if (volumes.failed())
        qCWarning(lcSettingCard, "cannot list volumes: %s", qUtf8Printable(volumes.failure));
    if (volumes.found.isEmpty()) {
        qCInfo(lcSettingCard, "no removable devices");
        return {{}, {}, volumes.failure};
    }
    std::optional<GWUSBDiskEntity> card = findCardDiskEntity(volumes.found);
    if (!card)
        return {{}, {}, volumes.failure};
    // The camera writes exactly one record; anything else is not its settings file.
    if (QFileInfo(settingFilePathOn(*card)).size() != qint64(kFileDataSize))
        return {{}, {}, volumes.failure};
    // Only a real volume is renamed, never a folder standing in for a card.
    if (card->volumeName() != kCardVolumeName && !card->deviceFilePath().isEmpty() && renamer) {
        const QVariantMap error = renamer(*card);
        if (!error.isEmpty()) {
            qCWarning(lcSettingCard, "error=%s",
                      qUtf8Printable(
                          error.value(QString::fromLatin1(kScriptErrorMessageKey)).toString()));
        } else if (std::optional<GWUSBDiskEntity> renamed = findCardDiskEntity(source).found) {
            card = renamed;
        }
    }
    return {card, settingFilePathOn(*card), volumes.failure};
}

SettingCardRead readSettingCard(const BlockDeviceSource& source, const VolumeRenamer& renamer)
{
    SettingCardRead result;
    result.card = findSettingCard(source, renamer);
    if (result.card.settingFilePath.isEmpty())
        return result;
    _FILEDATA record{};
    QString reason;
    if (readExactFileData(result.card.settingFilePath, &record, &reason))
        result.record = record;
    else
        qCWarning(lcSettingCard, "cannot read %s: %s", qUtf8Printable(result.card.settingFilePath),
                  qUtf8Printable(reason));
    return result;
}

QString settingSaveTarget(const std::optional<GWUSBDiskEntity>& selectedCard,
                          const BlockDeviceSource& source)
{
    if (selectedCard) {
        const QString path = settingFilePathOn(*selectedCard);
        if (QFileInfo(path).isFile())
            return path;
    }
    if (const std::optional<GWUSBDiskEntity> card = findCardDiskEntity(source).found)
        return settingFilePathOn(*card);
    return {};
}
