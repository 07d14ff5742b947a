#include "ToolRunner.h"
#include "driverecords/RecordBytes.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

using namespace recordbytes;

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray flashFile(int count, int held)
{
    QList<QByteArray> records;
    for (int i = 0; i < held; ++i) {
        Flash f;
        f.seq = i + 1;
        f.status = 1;
        f.lat = 3734;
        f.latDecimals = i;
        f.lon = 12658;
        f.lonDecimals = 9999 - i;
        f.battery = 120 + i % 10;
        records << flashRecord(f);
    }
    return file(uint32_t(count), records);
}

TEST(VexloToolRecords, PrintsTheExportByExtensionToStdoutOrAFile)
{
    TempDir dir;
    const QString drv = dir.write("zuva_000.DRV", flashFile(3, 3));
    const ToolResult printed = runTool({"records", drv});
    ASSERT_EQ(printed.exitCode, 0) << printed.err.toStdString();
    EXPECT_TRUE(printed.err.isEmpty());
    const QList<QByteArray> lines = printed.out.split('\n');
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], "No.,Seq,Date,Time,Day,Latitude,Longitude,Distance,Speed,Max Speed,Status,"
                        "X,Y,Z,Battery");
    EXPECT_EQ(lines[3], "3,3,2023/04/15,09:30:12,SUN,3734.0002,12658.9997,0.0,0,0,A,+0.00,+0.00,"
                        "+0.00,12.2");

    const QString csv = dir.filePath("out.csv");
    ASSERT_EQ(runTool({"records", drv, "--out", csv}).exitCode, 0);
    EXPECT_EQ(readAll(csv), printed.out) << "the file and standard output carry the same text";

    Obd o;
    o.gep = 4;
    const QString obd = dir.write("drive.obd", file(1, {obdRecord(o)}));
    const ToolResult obdPrinted = runTool({"records", obd});
    ASSERT_EQ(obdPrinted.exitCode, 0) << obdPrinted.err.toStdString();
    ASSERT_EQ(obdPrinted.out.count('\n'), 2);
    EXPECT_TRUE(obdPrinted.out.startsWith("No.,Seq,Date,Time,Day,Latitude,Longitude,Speed,GPS "
                                          "Speed,RPM,Distance,Battery,ACP,FBK,RLL,LLL,SWA,SBT,"
                                          "GEL,GEP,SBK,TPA,ABT,X,Y,Z\n"));
    EXPECT_EQ(obdPrinted.out.split('\n')[1].count(','), 25);
}

TEST(VexloToolRecords, MissingRecordsAndUnreadableInputs)
{
    TempDir dir;
    const ToolResult shortOfTwo = runTool({"records", dir.write("a.drv", flashFile(5, 3))});
    EXPECT_EQ(shortOfTwo.exitCode, 0);
    EXPECT_EQ(shortOfTwo.out.count('\n'), 4);
    EXPECT_TRUE(shortOfTwo.err.contains("announces 5 records but holds 3 (2 missing)"))
        << shortOfTwo.err.toStdString();

    const ToolResult none = runTool({"records", dir.write("b.drv", flashFile(7, 0))});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.out.count('\n'), 1) << "the header still";

    const ToolResult empty = runTool({"records", dir.write("c.drv", flashFile(0, 0))});
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_TRUE(empty.err.isEmpty());

    const QString fifo = dir.filePath("f.obd");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path :
         {fifo, dir.write("tiny.obd", "12345"), dir.filePath("missing.drv"), dir.mkdir("d.drv")}) {
        const ToolResult result = runTool({"records", path});
        EXPECT_EQ(result.exitCode, 2) << path.toStdString();
        EXPECT_TRUE(result.err.startsWith("records: cannot read")) << result.err.toStdString();
    }
    EXPECT_EQ(runTool({"records", dir.write("x.csv", "")}).exitCode, 2);
    EXPECT_EQ(runTool({"records"}).exitCode, 2);
}

// Real failing writes: standard output on /dev/full, and an export file in a process that may
// not write more than 64 KiB (SIGXFSZ ignored, so write fails with EFBIG).
TEST(VexloToolRecords, AFailedWriteIsReportedAndKeepsTheOldExport)
{
    TempDir dir;
    const QString drv = dir.write("zuva_000.drv", flashFile(3000, 3000));

    QProcess full;
    full.setStandardOutputFile(QStringLiteral("/dev/full"));
    full.start(QStringLiteral(VEXLO_TOOL_PATH), {"records", drv});
    ASSERT_TRUE(full.waitForFinished(60000));
    EXPECT_EQ(full.exitCode(), 2);
    EXPECT_TRUE(full.readAllStandardError().contains("cannot write the output"));

    const QString out = dir.write("export/out.csv", "the previous export\n");
    QProcess limited;
    limited.setChildProcessModifier([] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64 * 1024, 64 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    limited.start(QStringLiteral(VEXLO_TOOL_PATH), {"records", drv, "--out", out});
    ASSERT_TRUE(limited.waitForFinished(60000));
    EXPECT_EQ(limited.exitCode(), 2);
    EXPECT_TRUE(limited.readAllStandardError().contains("cannot write")) << "no silent success";
    EXPECT_EQ(readAll(out), "the previous export\n");
    EXPECT_EQ(QDir(dir.filePath("export")).entryList(QDir::Files | QDir::Hidden),
              QStringList({"out.csv"}))
        << "no temporary file left";
}

} // namespace
