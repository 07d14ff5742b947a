#include "CommandOutput.h"
#include "Commands.h"

#include "cardtools/VolumeDiscovery.h"

#include <QLoggingCategory>

const char* const kVolumesUsage =
    "Usage: vexlo-tool volumes\n"
    "\n"
    "Lists the mounted volumes on USB devices (card readers, sticks), one line each, fields\n"
    "separated by one TAB:\n"
    "  LINE DEVICE MOUNTPOINT\n"
    "LINE is the volume as the format window lists it: \"[SIZE] LABEL <MODEL>\". Prints\n"
    "nothing when no USB volume is mounted.\n";

int runVolumesCommand(const QStringList& args)
{
    if (!args.isEmpty()) {
        return CommandOutput::usageError("volumes", QStringLiteral("takes no arguments"));
    }
    QLoggingCategory::setFilterRules(QStringLiteral("vexlo.*.info=false"));
    QByteArray out;
    for (const GWUSBDiskEntity& entity : usbDiskEntities()) {
        out += entity.displayString().toUtf8() + '\t' + entity.deviceFilePath().toUtf8() + '\t' +
               entity.mountedURL().toLocalFile().toUtf8() + '\n';
    }
    CommandOutput::writeOut(out);
    return 0;
}
