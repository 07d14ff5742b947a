#include "samplecard/SampleCard.h"

#include "cardtools/TimeSetFile.h"
#include "settings/FileData.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

namespace {

const char* const kUsage =
    "Usage: vexlo-make-sample-card OUT_DIR [--seed N]\n"
    "       vexlo-make-sample-card --long-recording OUT.MP4 [--seed N] [--minutes M] [--mb SIZE]\n"
    "\n"
    "Writes a folder shaped like the camera's SD card: recordings of the three modes under\n"
    "DCIM/, each a playable MP4 with the camera's drive-data track. The same seed gives the same\n"
    "card. --long-recording writes one recording of M minutes (default 10) whose records are\n"
    "spread through about SIZE megabytes (default 1024), for extraction benchmarks.\n";

int usageError(const QString& message)
{
    std::fprintf(stderr, "vexlo-make-sample-card: %s\n%s", qPrintable(message), kUsage);
    return 2;
}

bool readNumber(const QStringList& args, qsizetype& i, qint64* value)
{
    if (i + 1 >= args.size())
        return false;
    bool ok = false;
    *value = args[++i].toLongLong(&ok);
    return ok && *value >= 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);

    QString output;
    bool longRecording = false;
    qint64 seed = 1;
    qint64 minutes = 10;
    qint64 megabytes = 1024;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == QLatin1String("--seed")) {
            if (!readNumber(args, i, &seed) || seed > 0xffffffffLL)
                return usageError(QStringLiteral("--seed needs a number from 0 to 4294967295"));
        } else if (arg == QLatin1String("--minutes")) {
            if (!readNumber(args, i, &minutes) || minutes < 1 || minutes > 120)
                return usageError(QStringLiteral("--minutes needs a number from 1 to 120"));
        } else if (arg == QLatin1String("--mb")) {
            if (!readNumber(args, i, &megabytes) || megabytes > 3500)
                return usageError(QStringLiteral("--mb needs a number from 0 to 3500"));
        } else if (arg == QLatin1String("--long-recording")) {
            longRecording = true;
        } else if (arg.startsWith(QLatin1Char('-')) || !output.isEmpty()) {
            return usageError(QStringLiteral("unexpected argument %1").arg(arg));
        } else {
            output = arg;
        }
    }
    if (output.isEmpty())
        return usageError(QStringLiteral("no output given"));

    QString error;
    if (longRecording) {
        if (!samplecard::makeLongRecording(output, int(minutes), megabytes * 1024 * 1024,
                                           quint32(seed), &error)) {
            std::fprintf(stderr, "vexlo-make-sample-card: %s\n", qPrintable(error));
            return 1;
        }
        return 0;
    }

    QStringList written = samplecard::makeSampleCard(output, quint32(seed), &error);
    if (written.isEmpty()) {
        std::fprintf(stderr, "vexlo-make-sample-card: %s\n", qPrintable(error));
        return 1;
    }
    // The factory settings file, as the format leaves it, and a clock file at a fixed time so
    // that the same seed still gives the same card.
    if (!writeDefaultFileData(QDir(output).filePath(QStringLiteral("config.bin"))).isEmpty()) {
        std::fprintf(stderr, "vexlo-make-sample-card: cannot write config.bin\n");
        return 1;
    }
    written.append(QStringLiteral("config.bin"));
    const QString timeSet = QString::fromLatin1(kTimeSetFileName);
    error = writeTimeSetFile(QDir(output).filePath(timeSet), QDate(2023, 4, 15), QTime(12, 0, 0));
    if (!error.isEmpty()) {
        std::fprintf(stderr, "vexlo-make-sample-card: %s\n", qPrintable(error));
        return 1;
    }
    written.append(timeSet);
    for (const QString& path : written)
        std::printf("%s\n", qPrintable(QDir(output).filePath(path)));
    return 0;
}
