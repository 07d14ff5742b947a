#include "cardtools/FormatTarget.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// lsblk nests partitions and their holders a few levels deep; deeper is not lsblk's output.
constexpr int kMaxDepth = 8;

// Mount points that mean the disk carries the running system.
const QStringList kSystemMountPoints = {QStringLiteral("/"),         QStringLiteral("/boot"),
                                        QStringLiteral("/boot/efi"), QStringLiteral("/usr"),
                                        QStringLiteral("/var"),      QStringLiteral("/home"),
                                        QStringLiteral("/opt"),      QStringLiteral("[SWAP]")};

bool flag(const QJsonValue& value)
{
    if (value.isBool())
        return value.toBool();
    if (value.isString())
        return value.toString() == u"1" || value.toString() == u"true";
    return value.toDouble() != 0;
}

uint64_t number(const QJsonValue& value)
{
    if (value.isDouble() && value.toDouble() >= 0 && value.toDouble() < 1.8e19)
        return uint64_t(value.toDouble());
    return value.toString().toULongLong();
}

void collectMountPoints(const QJsonObject& device, int depth, QStringList* mountPoints)
{
    if (depth > kMaxDepth)
        return;
    const QString mountPoint = device.value(u"mountpoint").toString();
    if (!mountPoint.isEmpty())
        mountPoints->append(mountPoint);
    for (const QJsonValue& child : device.value(u"children").toArray())
        collectMountPoints(child.toObject(), depth + 1, mountPoints);
}

// Finds the device below `disk` (the disk itself included); `chain` gets the nodes from the
// disk down to it.
bool findDevice(const QJsonObject& node, const QString& devicePath, int depth,
                QList<QJsonObject>* chain)
{
    if (depth > kMaxDepth)
        return false;
    chain->append(node);
    const QString path = node.value(u"path").toString();
    const QString name = node.value(u"name").toString();
    if (path == devicePath || (!name.isEmpty() && QStringLiteral("/dev/") + name == devicePath))
        return true;
    for (const QJsonValue& child : node.value(u"children").toArray()) {
        if (findDevice(child.toObject(), devicePath, depth + 1, chain))
            return true;
    }
    chain->removeLast();
    return false;
}

} // namespace

std::optional<BlockDeviceState> blockDeviceState(const QByteArray& listing,
                                                 const QString& devicePath)
{
    const QJsonArray disks =
        QJsonDocument::fromJson(listing).object().value(u"blockdevices").toArray();
    for (const QJsonValue& entry : disks) {
        const QJsonObject disk = entry.toObject();
        QList<QJsonObject> chain;
        if (!findDevice(disk, devicePath, 0, &chain))
            continue;
        const QJsonObject& device = chain.last();
        BlockDeviceState state;
        state.type = device.value(u"type").toString();
        state.size = number(device.value(u"size"));
        state.usb = disk.value(u"tran").toString() == u"usb";
        state.removable = flag(disk.value(u"rm"));
        for (const QJsonObject& node : std::as_const(chain))
            state.readOnly = state.readOnly || flag(node.value(u"ro"));
        collectMountPoints(disk, 0, &state.diskMountPoints);
        collectMountPoints(device, 0, &state.mountPoints);
        return state;
    }
    return std::nullopt;
}

QString formatTargetProblem(const GWUSBDiskEntity& volume,
                            const std::optional<BlockDeviceState>& state)
{
    if (!volume.deviceFilePath().startsWith(u"/dev/"))
        return QStringLiteral("is a folder, not a card: only a card itself can be formatted");
    if (!state)
        return QStringLiteral("is no longer attached");
    if (state->type != u"part" && state->type != u"disk")
        return QStringLiteral("is not a card volume (%1)").arg(state->type);
    if (!state->usb)
        return QStringLiteral("is not on a USB device");
    // USB hard disks report hot-plug but not removable media: a fixed disk is never formatted.
    if (!state->removable)
        return QStringLiteral("is a fixed disk, not a removable card");
    for (const QString& mountPoint : state->diskMountPoints) {
        if (kSystemMountPoints.contains(mountPoint))
            return QStringLiteral("is on the disk that holds the system (%1)").arg(mountPoint);
    }
    if (state->size != volume.volumeSize())
        return QStringLiteral("is no longer the medium that was chosen (its size changed)");
    return {};
}
