#include "cardtools/CardFormat.h"

#include "cardtools/FormatPlan.h"
#include "cardtools/ShellScript.h"
#include "fileio/SafeFileReader.h"
#include "fileio/SafeFileWriter.h"
#include "settings/FileData.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QUuid>

namespace {

Q_LOGGING_CATEGORY(lcFormat, "vexlo.cardtools")

using Outcome = CardFormatResult::Outcome;

// config.bin is 500 bytes; anything far larger at that name is not the camera's file, and is
// not read into memory whole.
constexpr qint64 kMaxSettingsFileSize = 1 << 20;

QString recordText(const QVariantMap& record)
{
    return QString::fromUtf8(
        QJsonDocument(QJsonObject::fromVariantMap(record)).toJson(QJsonDocument::Compact));
}

std::optional<GWUSBDiskEntity> findByDevice(const QList<GWUSBDiskEntity>& volumes,
                                            const QString& device)
{
    for (const GWUSBDiskEntity& volume : volumes) {
        if (volume.deviceFilePath() == device)
            return volume;
    }
    return std::nullopt;
}

// Copies the card's config.bin into a new private folder under `keepFolder`. Answers an empty
// text when there was nothing to keep or it was kept (its path in `keptPath`, its bytes in
// `kept`), else the reason.
QString keepSettingsFile(const GWUSBDiskEntity& volume, const QString& keepFolder,
                         QString* keptPath, QByteArray* kept)
{
    const QString mountPoint = volume.mountedURL().toLocalFile();
    if (mountPoint.isEmpty())
        return {};
    const QString cardFile = mountPoint + u'/' + QString::fromLatin1(kConfigFileName);
    if (!QFileInfo::exists(cardFile))
        return {};
    const SafeFileReader card(cardFile);
    if (!card.isOpen())
        return QStringLiteral("%1: %2").arg(cardFile, card.errorString());
    if (card.size() > uint64_t(kMaxSettingsFileSize))
        return QStringLiteral("%1 is too large for a settings file").arg(cardFile);
    const QByteArray bytes = card.read(kMaxSettingsFileSize);
    if (uint64_t(bytes.size()) != card.size())
        return QStringLiteral("%1 could not be read whole").arg(cardFile);

    const QString device = QFileInfo(volume.deviceFilePath()).fileName();
    const QString folder =
        QDir(keepFolder)
            .filePath(QDateTime::currentDateTime().toString(u"yyyy-MM-dd_HH-mm-ss") + u'_' +
                      device + u'_' + QUuid::createUuid().toString(QUuid::WithoutBraces).left(8));
    if (!QDir().mkpath(folder))
        return QStringLiteral("cannot make the folder %1").arg(folder);
    // Only the user reads the kept settings (they hold the Wi-Fi password).
    QFile::setPermissions(keepFolder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString path = folder + u'/' + QString::fromLatin1(kConfigFileName);
    const QString reason = replaceFileContents(path, bytes);
    if (!reason.isEmpty())
        return QStringLiteral("%1: %2").arg(path, reason);
    *keptPath = path;
    *kept = bytes;
    return {};
}

} // namespace

QString defaultKeptSettingsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Vexlo/kept-settings");
}

CardFormatResult runCardFormat(CardFormatSystem& system, const GWUSBDiskEntity& volume,
                               const QString& keepFolder,
                               const std::function<void(const QString&)>& progress)
{
    const auto say = [&](const char* message) {
        if (progress)
            progress(QString::fromLatin1(message));
    };
    CardFormatResult result;
    result.volume = volume;
    const QString device = volume.deviceFilePath();
    const int sectorsPerCluster = clusterSizeByVolumeSizeInKB(volume.volumeSize());
    const auto finish = [&](Outcome outcome) {
        result.outcome = outcome;
        if (result.volumes.isEmpty())
            result.volumes = system.volumes().found;
        qCInfo(lcFormat, "format of %s ended: %d %s", qUtf8Printable(device), int(outcome),
               qUtf8Printable(result.errorMessage));
        return result;
    };

    if (!volume.writable())
        return finish(Outcome::WriteProtected);
    result.errorMessage = system.formatTargetProblem(volume);
    if (result.errorMessage.isEmpty() &&
        cardLayoutClusterCount(volume.volumeSize(), sectorsPerCluster) < kFat32MinimumClusters)
        result.errorMessage = QStringLiteral("is too small for the camera's FAT32 layout");
    if (!result.errorMessage.isEmpty())
        return finish(Outcome::TargetRefused);

    // The settings are kept before anything is touched: if they cannot be, nothing is formatted.
    QByteArray keptSettings;
    result.errorMessage =
        keepSettingsFile(volume, keepFolder, &result.keptSettingsPath, &keptSettings);
    if (!result.errorMessage.isEmpty())
        return finish(Outcome::SettingsNotKept);

    say(kUnmountingMessage);
    // A failed unmount is not fatal here: mkfs.fat refuses a mounted volume and says so.
    system.unmount(volume);

    // Checked again right before formatting: the card may have been swapped meanwhile.
    result.errorMessage = system.formatTargetProblem(volume);
    if (!result.errorMessage.isEmpty()) {
        system.mount(volume);
        return finish(Outcome::TargetRefused);
    }

    say(kFormattingMessage);
    const QVariantMap error = system.format(volume, sectorsPerCluster);
    if (!error.isEmpty()) {
        result.errorNumber = error.value(QString::fromLatin1(kScriptErrorNumberKey)).toInt();
        result.errorMessage = error.value(QString::fromLatin1(kScriptErrorMessageKey)).toString();
        qCWarning(lcFormat, "formatter failed: %s", qUtf8Printable(recordText(error)));
        system.mount(volume);
        result.volumes = system.volumes().found;
        if (const auto again = findByDevice(result.volumes, device))
            result.volume = *again;
        return finish(Outcome::FormatFailed);
    }

    say(kMountingMessage);
    system.mount(volume);
    say(kFormatCompletedMessage);
    result.volumes = system.volumes().found;
    const auto formatted = findByDevice(result.volumes, device);
    const QString mountPoint = formatted ? formatted->mountedURL().toLocalFile() : QString();
    if (!formatted || mountPoint.isEmpty() || !QFileInfo(mountPoint).isDir()) {
        // Whatever else is mounted now is not the card: nothing is written anywhere.
        result.errorMessage = QStringLiteral("%1 was not found again after formatting").arg(device);
        return finish(Outcome::VolumeNotFound);
    }
    result.volume = *formatted;

    const QString target = mountPoint + u'/' + QString::fromLatin1(kConfigFileName);
    if (!result.keptSettingsPath.isEmpty()) {
        result.errorMessage = replaceFileContents(target, keptSettings);
    } else {
        QString reason;
        result.errorKey = writeDefaultFileData(target, &reason);
        if (!result.errorKey.isEmpty())
            result.errorMessage = QStringLiteral("%1: %2").arg(target, reason);
    }
    if (!result.errorMessage.isEmpty())
        return finish(Outcome::SettingsNotPutBack);
    return finish(Outcome::Completed);
}

CardFormat::CardFormat(std::shared_ptr<CardFormatSystem> system, QString keepFolder,
                       QObject* parent)
    : QObject(parent), m_system(std::move(system)), m_keepFolder(std::move(keepFolder))
{
    m_pool.setMaxThreadCount(1);
}

CardFormat::~CardFormat()
{
    m_pool.waitForDone();
}

void CardFormat::start(const GWUSBDiskEntity& volume)
{
    if (m_running)
        return;
    m_running = true;
    m_pool.start([this, system = m_system, volume, keepFolder = m_keepFolder] {
        CardFormatResult result =
            runCardFormat(*system, volume, keepFolder, [this](const QString& m) {
                QMetaObject::invokeMethod(
                    this, [this, m] { Q_EMIT progressMessage(m); }, Qt::QueuedConnection);
            });
        QMetaObject::invokeMethod(
            this,
            [this, result = std::move(result)] {
                m_running = false;
                Q_EMIT finished(result);
            },
            Qt::QueuedConnection);
    });
}
