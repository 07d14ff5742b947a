#include "CommandOutput.h"
#include "Commands.h"
#include "LineField.h"

#include "cardtools/VolumeDiscovery.h"

#include <QLoggingCategory>

const char* const kVolumesUsage =
    "Usage: vexlo-tool volumes\n"
    "\n"
    "Lists the mounted volumes on USB devices (card readers, sticks), one line each, fields\n"
    "separated by one TAB:\n"
    "  LINE DEVICE MOUNTPOINT\n"
    "LINE is the volume as the format window lists it: \"[SIZE] LABEL <MODEL>\". Prints\n"
    "nothing when no USB volume is mounted. A TAB in a field is written as \\t, a newline\n"
    "as \\n and a backslash as \\\\. When the volumes cannot be listed (lsblk missing,\n"
    "failing or printing no listing) it says why and exits with 2.\n";

int runVolumesCommand(const QStringList& args)
{
    if (!args.isEmpty()) {
        return CommandOutput::usageError("volumes", QStringLiteral("takes no arguments"));
    }
    // The reason of a failure is printed below; the log would only repeat it.
    QLoggingCategory::setFilterRules(QStringLiteral("vexlo.*=false"));
    const VolumeQuery<QList<GWUSBDiskEntity>> volumes = usbDiskEntities();
    if (volumes.failed()) {
        CommandOutput::writeError(
            QStringLiteral("volumes: cannot list volumes: %1").arg(volumes.failure));
        return 2;
    }
    QByteArray out;
    for (const GWUSBDiskEntity& entity : volumes.found) {
        out += lineField(entity.displayString()) + '\t' + lineField(entity.deviceFilePath()) +
               '\t' + lineField(entity.mountedURL().toLocalFile()) + '\n';
    }
    CommandOutput::writeOut(out);
    return 0;
}
