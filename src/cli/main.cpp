#include "CommandOutput.h"
#include "Commands.h"

#include "fileio/NativeFileName.h"

#include <cstdio>
#include <cstring>
#include <new>

namespace {

const Command kCommands[] = {
    {"scan", "list the recordings of a card or folder", kScanUsage, runScanCommand},
    {"extract", "print the drive data of a recording (csv, gpx, json)", kExtractUsage,
     runExtractCommand},
    {"config", "write, show or change a settings file (config.bin)", kConfigUsage,
     runConfigCommand},
    {"volumes", "list the mounted USB volumes", kVolumesUsage, runVolumesCommand},
    {"clock", "write the camera's clock file (timeset.cfg)", kClockUsage, runClockCommand},
    {"clip", "export a span of a recording as one MP4 of both cameras", kClipUsage, runClipCommand},
    {"records", "print a drive-record file (.drv, .obd) as CSV", kRecordsUsage, runRecordsCommand},
    {"format", "format a card, a card image or a loop device as the camera's card", kFormatUsage,
     runFormatCommand},
};

void printOverview()
{
    std::printf("Usage: vexlo-tool COMMAND [ARGS...]\n\nCommands:\n");
    for (const Command& command : kCommands)
        std::printf("  %-10s %s\n", command.name, command.summary);
    std::printf("\nRun \"vexlo-tool COMMAND --help\" for the arguments of one command.\n");
}

int runCommand(QStringList args)
{
    if (args.isEmpty() || args.first() == u"--help" || args.first() == u"-h" ||
        args.first() == u"help") {
        printOverview();
        return args.isEmpty() ? 2 : 0;
    }
    const QString name = args.takeFirst();
    for (const Command& command : kCommands) {
        if (name != QLatin1StringView(command.name))
            continue;
        if (args.contains(u"--help") || args.contains(u"-h")) {
            std::fputs(command.usage, stdout);
            return 0;
        }
        return command.run(args);
    }
    CommandOutput::writeError(
        QStringLiteral("vexlo-tool: unknown command \"%1\" (see vexlo-tool --help)").arg(name));
    return 2;
}

} // namespace

int main(int argc, char* argv[])
{
    // No QCoreApplication here: most commands are a read and a print, and start-up time is
    // part of what scripts calling us wait for. A command that needs an event loop makes one.
    // Arguments are file names more often than not: decoded without loss, so a name that is
    // not UTF-8 reaches the file system as the bytes it was given as.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(NativeFileName::fileNameFromBytes(argv[i]));

    int exitCode = 2;
    try {
        exitCode = runCommand(args);
    } catch (const std::bad_alloc&) {
        // What a command keeps is bounded by its input; a machine short of memory still gets
        // a message and an exit code rather than an abort.
        CommandOutput::writeError(QStringLiteral("vexlo-tool: out of memory"));
    }
    return CommandOutput::finish(exitCode);
}
