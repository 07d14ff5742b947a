#include "cardtools/VolumeDiscovery.h"

#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QProcess>

#include <functional>

namespace {

Q_LOGGING_CATEGORY(lcVolumes, "vexlo.cardtools", QtWarningMsg)

constexpr int kToolTimeoutMs = 10000;
// lsblk nests partitions (and their holders) a few levels deep at most; a deeper or cyclic
// listing is not lsblk's and is cut off here.
constexpr int kMaxDepth = 8;

// The card's volume name. The format gives cards the label "ZUVA", while older cards carry
// "VEXLO": both are the camera's card.
const QStringList kCardVolumeNames = {QStringLiteral("VEXLO"), QStringLiteral("ZUVA")};

struct BlockNode
{
    QString name;
    QString path;
    QString label;
    QString mountPoint;
    QString transport;
    QString model;
    QString type;
    QString parentName;
    bool removable = false;
    bool hotplug = false;
    bool readOnly = false;
    uint64_t size = 0;
};

// One mounted volume with what its disk adds (transport, model, flags).
struct MountedVolume
{
    BlockNode node;
    bool removable = false;
    bool usb = false;
    bool writable = false;
    QString model;
};

// lsblk 2.33 and later print flags as JSON booleans and, with -b, sizes as numbers; older
// versions print both as strings.
bool flagValue(const QJsonValue& value)
{
    if (value.isBool())
        return value.toBool();
    if (value.isString())
        return value.toString() == u"1" || value.toString() == u"true";
    return value.toDouble() != 0;
}

uint64_t sizeValue(const QJsonValue& value)
{
    if (value.isDouble() && value.toDouble() >= 0 && value.toDouble() < 1.8e19)
        return uint64_t(value.toDouble());
    if (value.isString())
        return value.toString().toULongLong();
    return 0;
}

void collectNodes(const QJsonArray& devices, const QString& parentName, int depth,
                  QList<BlockNode>* nodes)
{
    if (depth > kMaxDepth)
        return;
    for (const QJsonValue& entry : devices) {
        const QJsonObject device = entry.toObject();
        BlockNode node;
        node.name = device.value(u"name").toString();
        node.path = device.value(u"path").toString();
        node.label = device.value(u"label").toString();
        node.mountPoint = device.value(u"mountpoint").toString();
        node.transport = device.value(u"tran").toString();
        node.model = device.value(u"model").toString().trimmed();
        node.type = device.value(u"type").toString();
        node.parentName = device.value(u"pkname").toString();
        if (node.parentName.isEmpty())
            node.parentName = parentName;
        node.removable = flagValue(device.value(u"rm"));
        node.hotplug = flagValue(device.value(u"hotplug"));
        node.readOnly = flagValue(device.value(u"ro"));
        node.size = sizeValue(device.value(u"size"));
        nodes->append(node);
        collectNodes(device.value(u"children").toArray(), node.name, depth + 1, nodes);
    }
}

QList<MountedVolume> mountedVolumes(const BlockDeviceSource& source)
{
    const QJsonDocument listing = QJsonDocument::fromJson(source.blockDeviceListing());
    QList<BlockNode> nodes;
    collectNodes(listing.object().value(u"blockdevices").toArray(), {}, 0, &nodes);

    QHash<QString, qsizetype> byName;
    for (qsizetype i = 0; i < nodes.size(); ++i)
        byName.insert(nodes[i].name, i);

    QList<MountedVolume> volumes;
    for (const BlockNode& node : std::as_const(nodes)) {
        // "[SWAP]" and the like are not mount points.
        if (!node.mountPoint.startsWith(u'/'))
            continue;
        MountedVolume volume;
        volume.node = node;
        volume.removable = node.removable || node.hotplug;
        volume.writable = !node.readOnly;
        volume.model = node.model;
        QString transport = node.transport;
        // lsblk reports transport and model on the disk only: walk up to it.
        const BlockNode* current = &node;
        for (int step = 0; step < kMaxDepth && !current->parentName.isEmpty(); ++step) {
            const auto parent = byName.constFind(current->parentName);
            if (parent == byName.constEnd() || &nodes[*parent] == current)
                break;
            current = &nodes[*parent];
            volume.removable = volume.removable || current->removable || current->hotplug;
            volume.writable = volume.writable && !current->readOnly;
            if (transport.isEmpty())
                transport = current->transport;
            if (volume.model.isEmpty())
                volume.model = current->model;
        }
        volume.usb = transport == u"usb";
        volumes.append(volume);
    }
    return volumes;
}

QString volumeLabel(const MountedVolume& volume, const BlockDeviceSource& source,
                    const QString& devicePath)
{
    if (!volume.node.label.isEmpty())
        return volume.node.label;
    if (!devicePath.isEmpty()) {
        const QString probed = source.probeVolumeLabel(devicePath);
        if (!probed.isEmpty())
            return probed;
    }
    // Desktop mounters name the mount point after the label.
    return QFileInfo(volume.node.mountPoint).fileName();
}

bool hasFileAtRoot(const QUrl& volume, const QString& fileName)
{
    return QFileInfo(volume.toLocalFile() + u'/' + fileName).isFile();
}

QString runTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(kToolTimeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        qCWarning(lcVolumes, "%s did not run: %s", qUtf8Printable(program),
                  qUtf8Printable(process.errorString()));
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

QByteArray SystemBlockDeviceSource::blockDeviceListing() const
{
    return runTool(QStringLiteral("lsblk"),
                   {QStringLiteral("--json"), QStringLiteral("-b"), QStringLiteral("-o"),
                    QStringLiteral("NAME,PATH,LABEL,MOUNTPOINT,RM,HOTPLUG,TRAN,MODEL,SIZE,RO,"
                                   "TYPE,PKNAME")})
        .toUtf8();
}

QString SystemBlockDeviceSource::probeVolumeLabel(const QString& devicePath) const
{
    return runTool(QStringLiteral("blkid"),
                   {QStringLiteral("-s"), QStringLiteral("LABEL"), QStringLiteral("-o"),
                    QStringLiteral("value"), devicePath})
        .trimmed();
}

const BlockDeviceSource& systemBlockDeviceSource()
{
    static const SystemBlockDeviceSource source;
    return source;
}

QList<QUrl> removableVolumeURLs(const BlockDeviceSource& source)
{
    QList<QUrl> urls;
    for (const MountedVolume& volume : mountedVolumes(source)) {
        if (volume.removable)
            urls.append(QUrl::fromLocalFile(volume.node.mountPoint));
    }
    if (urls.isEmpty())
        qCInfo(lcVolumes, "no removable devices");
    return urls;
}

QList<QUrl> usbVolumeURLs(const BlockDeviceSource& source)
{
    QList<QUrl> urls;
    for (const MountedVolume& volume : mountedVolumes(source)) {
        if (volume.removable && volume.usb)
            urls.append(QUrl::fromLocalFile(volume.node.mountPoint));
    }
    return urls;
}

QList<GWUSBDiskEntity> usbDiskEntities(const BlockDeviceSource& source)
{
    QList<GWUSBDiskEntity> entities;
    for (const MountedVolume& volume : mountedVolumes(source)) {
        if (!volume.removable || !volume.usb || volume.node.name.isEmpty())
            continue;
        const QString devicePath = volume.node.path.isEmpty()
                                       ? QStringLiteral("/dev/") + volume.node.name
                                       : volume.node.path;
        qCInfo(lcVolumes, "%s", qUtf8Printable(volume.node.mountPoint));
        entities.append(GWUSBDiskEntity(volumeLabel(volume, source, devicePath),
                                        QUrl::fromLocalFile(volume.node.mountPoint), devicePath,
                                        volume.model, volume.node.size, volume.writable,
                                        volume.node.type == u"disk", volume.node.name));
    }
    return entities;
}

std::optional<QUrl> findUSBVolumeWithFile(const QString& fileName, const BlockDeviceSource& source)
{
    for (const QUrl& url : usbVolumeURLs(source)) {
        if (hasFileAtRoot(url, fileName))
            return url;
    }
    return std::nullopt;
}

std::optional<GWUSBDiskEntity> findCardDiskEntity(const BlockDeviceSource& source)
{
    return findCardDiskEntity(usbDiskEntities(source));
}

std::optional<GWUSBDiskEntity> findCardDiskEntity(const QList<GWUSBDiskEntity>& entities)
{
    const auto isCard = [](const GWUSBDiskEntity& e) {
        return kCardVolumeNames.contains(e.volumeName());
    };
    // Passes in order of preference; within a pass the first volume of the list wins.
    const std::function<bool(const GWUSBDiskEntity&)> passes[] = {
        [&](const GWUSBDiskEntity& e) {
            return isCard(e) && e.writable() &&
                   hasFileAtRoot(e.mountedURL(), QStringLiteral("config.bin"));
        },
        [&](const GWUSBDiskEntity& e) { return isCard(e) && e.writable(); },
        [&](const GWUSBDiskEntity& e) { return isCard(e); },
        [](const GWUSBDiskEntity& e) { return e.writable(); },
        [](const GWUSBDiskEntity&) { return true; },
    };
    for (const auto& pass : passes) {
        for (const GWUSBDiskEntity& entity : entities) {
            if (pass(entity))
                return entity;
        }
    }
    return std::nullopt;
}
