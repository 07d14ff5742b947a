#include "cardtools/VolumeDiscovery.h"

#include "fileio/NativeFileName.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QProcess>

#include <sys/statvfs.h>
#include <unistd.h>

namespace {

Q_LOGGING_CATEGORY(lcSources, "vexlo.cardtools")

// What a tool printed, or why it printed nothing usable.
struct ToolRun
{
    QByteArray out;
    QString failure;
};

ToolRun runTool(const QString& program, const QStringList& arguments, int timeoutMs)
{
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForStarted(timeoutMs))
        return {{}, QStringLiteral("cannot run %1: %2").arg(program, process.errorString())};
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return {
            {},
            QStringLiteral("%1 did not finish within %2 s").arg(program).arg(timeoutMs / 1000.0)};
    }
    if (process.exitStatus() != QProcess::NormalExit)
        return {{}, QStringLiteral("%1 crashed").arg(program)};
    if (process.exitCode() != 0) {
        const QString errorText = QString::fromUtf8(process.readAllStandardError()).trimmed();
        return {{},
                QStringLiteral("%1 exited with status %2%3")
                    .arg(program)
                    .arg(process.exitCode())
                    .arg(errorText.isEmpty() ? QString() : QStringLiteral(": ") + errorText)};
    }
    return {process.readAllStandardOutput(), {}};
}

} // namespace

SystemBlockDeviceSource::SystemBlockDeviceSource(QString lsblkProgram, QString blkidProgram,
                                                 int timeoutMs)
    : m_lsblkProgram(std::move(lsblkProgram)), m_blkidProgram(std::move(blkidProgram)),
      m_timeoutMs(timeoutMs)
{
}

BlockDeviceListing SystemBlockDeviceSource::blockDeviceListing() const
{
    ToolRun run = runTool(m_lsblkProgram,
                          {QStringLiteral("--json"), QStringLiteral("-b"), QStringLiteral("-o"),
                           QStringLiteral("NAME,PATH,LABEL,MOUNTPOINT,RM,HOTPLUG,TRAN,MODEL,SIZE,"
                                          "RO,TYPE,PKNAME")},
                          m_timeoutMs);
    if (!run.failure.isEmpty())
        qCWarning(lcSources, "%s", qUtf8Printable(run.failure));
    return {std::move(run.out), std::move(run.failure)};
}

QString SystemBlockDeviceSource::probeVolumeLabel(const QString& devicePath) const
{
    // Only a fallback for a label udev did not report: a failure leaves the label to the
    // mount point's name.
    const ToolRun run = runTool(m_blkidProgram,
                                {QStringLiteral("-s"), QStringLiteral("LABEL"),
                                 QStringLiteral("-o"), QStringLiteral("value"), devicePath},
                                m_timeoutMs);
    if (!run.failure.isEmpty())
        qCInfo(lcSources, "%s", qUtf8Printable(run.failure));
    return QString::fromUtf8(run.out).trimmed();
}

const BlockDeviceSource& systemBlockDeviceSource()
{
    static const SystemBlockDeviceSource source;
    return source;
}

CardFolderBlockDeviceSource::CardFolderBlockDeviceSource(const BlockDeviceSource& devices,
                                                         const QString& folder)
    : m_devices(devices), m_folder(folder)
{
}

BlockDeviceListing CardFolderBlockDeviceSource::blockDeviceListing() const
{
    return m_devices.blockDeviceListing();
}

QString CardFolderBlockDeviceSource::probeVolumeLabel(const QString& devicePath) const
{
    return m_devices.probeVolumeLabel(devicePath);
}

GWUSBDiskEntity cardFolderDiskEntity(const QString& folder)
{
    const QString path = QDir::cleanPath(QDir(folder).absolutePath());
    const QByteArray bytes = NativeFileName::fileNameToBytes(path);
    struct statvfs fileSystem;
    const uint64_t size = ::statvfs(bytes.constData(), &fileSystem) == 0
                              ? uint64_t(fileSystem.f_blocks) * fileSystem.f_frsize
                              : 0;
    const bool writable = ::access(bytes.constData(), W_OK) == 0;
    const QString name = path == u"/" ? path : QFileInfo(path).fileName();
    return GWUSBDiskEntity(name, QUrl::fromLocalFile(path), QString(), QStringLiteral("folder"),
                           size, writable, false, path, false);
}
