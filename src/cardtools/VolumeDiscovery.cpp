#include "cardtools/VolumeDiscovery.h"

#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>

#include <functional>

namespace {

Q_LOGGING_CATEGORY(lcVolumes, "vexlo.cardtools", QtWarningMsg)

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

// False when the listing is not lsblk's: an entry that is not a device object, or children
// that are not a list.
bool collectNodes(const QJsonArray& devices, const QString& parentName, int depth,
                  QList<BlockNode>* nodes)
{
    if (depth > kMaxDepth)
        return true;
    for (const QJsonValue& entry : devices) {
        if (!entry.isObject())
            return false;
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
        const QJsonValue children = device.value(u"children");
        if (children.isUndefined() || children.isNull())
            continue;
        if (!children.isArray() || !collectNodes(children.toArray(), node.name, depth + 1, nodes))
            return false;
    }
    return true;
}

// The block devices of lsblk's listing, or why there are none to be had.
VolumeQuery<QList<BlockNode>> blockNodes(const BlockDeviceSource& source)
{
    VolumeQuery<QList<BlockNode>> result;
    const BlockDeviceListing listing = source.blockDeviceListing();
    if (!listing.failure.isEmpty()) {
        result.failure = listing.failure;
        return result;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(listing.json, &error);
    if (error.error != QJsonParseError::NoError) {
        result.failure = QStringLiteral("lsblk printed no JSON listing (%1 at byte %2)")
                             .arg(error.errorString())
                             .arg(error.offset);
        return result;
    }
    const QJsonValue devices = document.object().value(u"blockdevices");
    if (!devices.isArray() || !collectNodes(devices.toArray(), {}, 0, &result.found)) {
        result.found.clear();
        result.failure = QStringLiteral("lsblk printed something other than its device list");
    }
    return result;
}

VolumeQuery<QList<MountedVolume>> mountedVolumes(const BlockDeviceSource& source)
{
    const VolumeQuery<QList<BlockNode>> listed = blockNodes(source);
    VolumeQuery<QList<MountedVolume>> result;
    result.failure = listed.failure;
    const QList<BlockNode>& nodes = listed.found;

    QHash<QString, qsizetype> byName;
    for (qsizetype i = 0; i < nodes.size(); ++i)
        byName.insert(nodes[i].name, i);

    for (const BlockNode& node : nodes) {
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
        result.found.append(volume);
    }
    return result;
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

// The card folder of the source as a volume entry, unless it is missing or is the mount point
// of one of `usbMountPoints` (then it is listed as that volume already).
std::optional<GWUSBDiskEntity> cardFolderEntity(const BlockDeviceSource& source,
                                                const QStringList& usbMountPoints)
{
    const QString folder = source.cardFolder();
    if (folder.isEmpty())
        return std::nullopt;
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty() || !QFileInfo(canonical).isDir())
        return std::nullopt;
    for (const QString& mountPoint : usbMountPoints) {
        if (QFileInfo(mountPoint).canonicalFilePath() == canonical)
            return std::nullopt;
    }
    return cardFolderDiskEntity(canonical);
}

bool hasFileAtRoot(const QUrl& volume, const QString& fileName)
{
    return QFileInfo(volume.toLocalFile() + u'/' + fileName).isFile();
}

} // namespace

VolumeQuery<QList<QUrl>> removableVolumeURLs(const BlockDeviceSource& source)
{
    const VolumeQuery<QList<MountedVolume>> volumes = mountedVolumes(source);
    VolumeQuery<QList<QUrl>> result;
    result.failure = volumes.failure;
    for (const MountedVolume& volume : volumes.found) {
        if (volume.removable)
            result.found.append(QUrl::fromLocalFile(volume.node.mountPoint));
    }
    if (result.found.isEmpty() && !result.failed())
        qCInfo(lcVolumes, "no removable devices");
    return result;
}

VolumeQuery<QList<QUrl>> usbVolumeURLs(const BlockDeviceSource& source)
{
    const VolumeQuery<QList<MountedVolume>> volumes = mountedVolumes(source);
    VolumeQuery<QList<QUrl>> result;
    result.failure = volumes.failure;
    QStringList mountPoints;
    for (const MountedVolume& volume : volumes.found) {
        if (volume.removable && volume.usb) {
            result.found.append(QUrl::fromLocalFile(volume.node.mountPoint));
            mountPoints.append(volume.node.mountPoint);
        }
    }
    if (const std::optional<GWUSBDiskEntity> folder = cardFolderEntity(source, mountPoints))
        result.found.append(folder->mountedURL());
    return result;
}

VolumeQuery<QList<GWUSBDiskEntity>> usbDiskEntities(const BlockDeviceSource& source)
{
    const VolumeQuery<QList<MountedVolume>> volumes = mountedVolumes(source);
    VolumeQuery<QList<GWUSBDiskEntity>> result;
    result.failure = volumes.failure;
    QStringList mountPoints;
    for (const MountedVolume& volume : volumes.found) {
        if (!volume.removable || !volume.usb)
            continue;
        mountPoints.append(volume.node.mountPoint);
        if (volume.node.name.isEmpty())
            continue;
        const QString devicePath = volume.node.path.isEmpty()
                                       ? QStringLiteral("/dev/") + volume.node.name
                                       : volume.node.path;
        qCInfo(lcVolumes, "%s", qUtf8Printable(volume.node.mountPoint));
        result.found.append(GWUSBDiskEntity(volumeLabel(volume, source, devicePath),
                                            QUrl::fromLocalFile(volume.node.mountPoint), devicePath,
                                            volume.model, volume.node.size, volume.writable,
                                            volume.node.type == u"disk", volume.node.name));
    }
    if (std::optional<GWUSBDiskEntity> folder = cardFolderEntity(source, mountPoints))
        result.found.append(std::move(*folder));
    return result;
}

VolumeQuery<std::optional<QUrl>> findUSBVolumeWithFile(const QString& fileName,
                                                       const BlockDeviceSource& source)
{
    const VolumeQuery<QList<QUrl>> volumes = usbVolumeURLs(source);
    VolumeQuery<std::optional<QUrl>> result;
    result.failure = volumes.failure;
    for (const QUrl& url : volumes.found) {
        if (hasFileAtRoot(url, fileName)) {
            result.found = url;
            break;
        }
    }
    return result;
}

VolumeQuery<std::optional<GWUSBDiskEntity>> findCardDiskEntity(const BlockDeviceSource& source)
{
    const VolumeQuery<QList<GWUSBDiskEntity>> entities = usbDiskEntities(source);
    return {findCardDiskEntity(entities.found), entities.failure};
}

std::optional<GWUSBDiskEntity> findCardDiskEntity(const QList<GWUSBDiskEntity>& entities)
{
    // A card folder is never "the card by its name": a USB card in the reader wins over it.
    const auto isCard = [](const GWUSBDiskEntity& e) {
        return e.removable() && kCardVolumeNames.contains(e.volumeName());
    };
    // Passes in order of preference; within a pass the first volume of the list wins.
    const std::function<bool(const GWUSBDiskEntity&)> passes[] = {
        [&](const GWUSBDiskEntity& e) {
            return isCard(e) && e.writable() &&
                   hasFileAtRoot(e.mountedURL(), QStringLiteral("config.bin"));
        },
        [&](const GWUSBDiskEntity& e) { return isCard(e) && e.writable(); },
        [&](const GWUSBDiskEntity& e) { return isCard(e); },
        // The folder the user named as the card, before any volume that merely is on USB.
        [](const GWUSBDiskEntity& e) { return !e.removable(); },
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
