#pragma once

#include <QStringList>

// Each command of vexlo-tool: its name, a one-line summary for the command list, the usage
// text printed by "vexlo-tool COMMAND --help", and the function that runs it with the
// arguments after the command name. Exit codes: 0 success, 1 the input holds no such data,
// 2 bad arguments or an input that cannot be read or written.
struct Command
{
    const char* name;
    const char* summary;
    const char* usage;
    int (*run)(const QStringList& args);
};

int runScanCommand(const QStringList& args);
extern const char* const kScanUsage;
int runExtractCommand(const QStringList& args);
extern const char* const kExtractUsage;

int runConfigCommand(const QStringList& args);
extern const char* const kConfigUsage;
int runVolumesCommand(const QStringList& args);
extern const char* const kVolumesUsage;
int runClockCommand(const QStringList& args);
extern const char* const kClockUsage;
int runClipCommand(const QStringList& args);
extern const char* const kClipUsage;
int runRecordsCommand(const QStringList& args);
extern const char* const kRecordsUsage;
int runFormatCommand(const QStringList& args);
extern const char* const kFormatUsage;
