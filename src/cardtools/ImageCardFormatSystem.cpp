#include "cardtools/ImageCardFormatSystem.h"

#include "cardtools/FormatPlan.h"
#include "cardtools/FormatTarget.h"
#include "cardtools/ShellScript.h"
#include "cardtools/VolumeDiscovery.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include <unistd.h>

namespace {

QVariantMap failure(int number, const QString& message)
{
    return {{QString::fromLatin1(kScriptErrorNumberKey), number},
            {QString::fromLatin1(kScriptErrorMessageKey), message}};
}

// The regular files of the folder's top level.
QStringList folderFiles(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDir::Name);
}

} // namespace

ImageCardFormatSystem::ImageCardFormatSystem(const QString& imagePath, const QString& mountFolder,
                                             const BlockDeviceSource& source)
    : m_imagePath(QFileInfo(imagePath).absoluteFilePath()),
      m_mountFolder(QFileInfo(mountFolder).absoluteFilePath()), m_source(source)
{
}

bool ImageCardFormatSystem::isLoopDevice() const
{
    return m_imagePath.startsWith(u"/dev/");
}

uint64_t ImageCardFormatSystem::imageSize() const
{
    if (!isLoopDevice())
        return uint64_t(QFileInfo(m_imagePath).size());
    const auto state = blockDeviceState(m_source.blockDeviceListing().json, m_imagePath);
    return state ? state->size : 0;
}

bool ImageCardFormatSystem::imageReadOnly() const
{
    if (!isLoopDevice())
        return ::access(QFile::encodeName(m_imagePath).constData(), W_OK) != 0;
    const auto state = blockDeviceState(m_source.blockDeviceListing().json, m_imagePath);
    return state && state->readOnly;
}

GWUSBDiskEntity ImageCardFormatSystem::volume() const
{
    return GWUSBDiskEntity(
        QFileInfo(m_imagePath).fileName(), QUrl::fromLocalFile(m_mountFolder), m_imagePath,
        isLoopDevice() ? QStringLiteral("Loop Device") : QStringLiteral("Image File"), imageSize(),
        !imageReadOnly(), true, QFileInfo(m_imagePath).fileName());
}

VolumeQuery<QList<GWUSBDiskEntity>> ImageCardFormatSystem::volumes() const
{
    if (!m_mounted)
        return {};
    return {{volume()}, {}};
}

QString ImageCardFormatSystem::formatTargetProblem(const GWUSBDiskEntity& chosen) const
{
    if (chosen.deviceFilePath() != m_imagePath)
        return QStringLiteral("is not this image");
    if (isLoopDevice()) {
        const auto state = blockDeviceState(m_source.blockDeviceListing().json, m_imagePath);
        if (!state)
            return QStringLiteral("is no longer attached");
        if (state->type != u"loop")
            return QStringLiteral("is not a loop device");
        if (!state->mountPoints.isEmpty())
            return QStringLiteral("is mounted at %1").arg(state->mountPoints.first());
    } else {
        const QFileInfo info(m_imagePath);
        if (!info.exists())
            return QStringLiteral("is gone");
        if (!info.isFile())
            return QStringLiteral("is not an image file");
    }
    if (imageSize() != chosen.volumeSize())
        return QStringLiteral("is no longer the image that was chosen (its size changed)");
    return {};
}

QVariantMap ImageCardFormatSystem::unmount(const GWUSBDiskEntity&)
{
    if (!m_mounted)
        return {};
    for (const QString& name : folderFiles(m_mountFolder)) {
        const QVariantMap record =
            runShellScript(QStringLiteral("mcopy"),
                           {QStringLiteral("-o"), QStringLiteral("-m"), QStringLiteral("-i"),
                            m_imagePath, m_mountFolder + u'/' + name, QStringLiteral("::/") + name},
                           false);
        if (!record.isEmpty())
            return record; // stays mounted: nothing of the folder is lost
    }
    for (const QString& name : folderFiles(m_mountFolder))
        QFile::remove(m_mountFolder + u'/' + name);
    m_mounted = false;
    return {};
}

QVariantMap ImageCardFormatSystem::format(const GWUSBDiskEntity&, int sectorsPerCluster)
{
    if (m_mounted)
        return failure(kFormatFailedNumber, QStringLiteral("%1 is still mounted").arg(m_imagePath));
    // The user's own image needs no administrator rights.
    const SystemCommand command = formatCommand(m_imagePath, sectorsPerCluster);
    const QVariantMap record = runShellScript(command.program, command.arguments, false);
    return formatterErrorRecord(record, !record.isEmpty() && imageReadOnly());
}

QVariantMap ImageCardFormatSystem::mount(const GWUSBDiskEntity&)
{
    if (m_mounted)
        return {};
    if (!QDir().mkpath(m_mountFolder))
        return failure(kFormatFailedNumber,
                       QStringLiteral("cannot make the folder %1").arg(m_mountFolder));
    // A listing of bare names: "::/config.bin" for a file, "::/DCIM/" for a folder.
    // Left over from a mount that failed half-way: the folder is ours alone.
    for (const QString& name : folderFiles(m_mountFolder))
        QFile::remove(m_mountFolder + u'/' + name);
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(QStringLiteral("mdir"),
                  {QStringLiteral("-b"), QStringLiteral("-i"), m_imagePath, QStringLiteral("::/")});
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        process.kill();
        process.waitForFinished(1000);
        const QString reason = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        return failure(kFormatFailedNumber,
                       reason.isEmpty()
                           ? QStringLiteral("no FAT file system in %1").arg(m_imagePath)
                           : reason);
    }
    const QStringList lines =
        QString::fromLocal8Bit(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        if (!line.startsWith(u"::/") || line.endsWith(u'/'))
            continue;
        const QString name = line.mid(3);
        if (name.isEmpty() || name.contains(u'/'))
            continue;
        const QVariantMap record =
            runShellScript(QStringLiteral("mcopy"),
                           {QStringLiteral("-n"), QStringLiteral("-m"), QStringLiteral("-i"),
                            m_imagePath, QStringLiteral("::/") + name, m_mountFolder + u'/' + name},
                           false);
        if (!record.isEmpty())
            return record;
    }
    m_mounted = true;
    return {};
}
