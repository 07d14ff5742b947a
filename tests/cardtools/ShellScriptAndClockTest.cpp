#include "cardtools/ShellScript.h"
#include "cardtools/TimeSetFile.h"

#include "support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

#include <ctime>

namespace {

const QString kNumber = QString::fromLatin1(kScriptErrorNumberKey);
const QString kMessage = QString::fromLatin1(kScriptErrorMessageKey);

TEST(ShellScript, ErrorRecordOfTheRun)
{
    EXPECT_TRUE(runShellScript("true", {}, false).isEmpty());

    const QVariantMap failed =
        runShellScript("sh", {"-c", "echo out; echo 'disk is write-protected' >&2; exit 1"}, false);
    EXPECT_EQ(failed.value(kNumber).toInt(), 1);
    EXPECT_EQ(failed.value(kMessage).toString(), QStringLiteral("disk is write-protected"));

    EXPECT_EQ(runShellScript("sh", {"-c", "exit 3"}, false).value(kNumber).toInt(), 3);

    // Arguments reach the program as they are: no shell splits, quotes or expands them.
    const QString tricky = QStringLiteral("a \"b\"; $(touch x) 'c'");
    EXPECT_TRUE(runShellScript("test", {tricky, "=", tricky}, false).isEmpty());

    const QVariantMap missing = runShellScript("/nonexistent/mkfs.fat", {}, false);
    EXPECT_EQ(missing.value(kNumber).toInt(), kScriptCannotStartNumber);
    EXPECT_FALSE(missing.value(kMessage).toString().isEmpty());
}

TEST(ShellScript, AdministratorProgramsComeFromSystemFoldersOnly)
{
    // A folder the user can write to, first in PATH, holding look-alikes of system programs.
    TempDir userBin;
    const QString marker = userBin.filePath("ran");
    for (const char* name : {"true", "pkexec", "vexlo-only-in-user-path"}) {
        const QString path = userBin.write(name, "#!/bin/sh\ntouch '" + marker.toUtf8() + "'\n");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", userBin.path().toUtf8() + ':' + oldPath);

    const QString systemTrue = administratorProgramPath("true");
    EXPECT_TRUE(kSystemProgramFolders.contains(QFileInfo(systemTrue).path()))
        << systemTrue.toStdString();
    const QString systemPkexec = administratorProgramPath("pkexec");
    EXPECT_FALSE(systemPkexec.startsWith(userBin.path())) << systemPkexec.toStdString();
    EXPECT_TRUE(administratorProgramPath("vexlo-only-in-user-path").isEmpty());
    EXPECT_EQ(administratorProgramPath("/opt/tools/mkfs.fat"),
              QStringLiteral("/opt/tools/mkfs.fat"));
    EXPECT_TRUE(administratorProgramPath("bin/mkfs.fat").isEmpty()) << "relative to what?";

    const QVariantMap missing = runShellScript("vexlo-only-in-user-path", {}, true);
    EXPECT_EQ(missing.value(kNumber).toInt(), kScriptCannotStartNumber);
    EXPECT_TRUE(missing.value(kMessage).toString().contains("/usr/sbin"));
    // With the user's rights the user's PATH is still used.
    EXPECT_TRUE(runShellScript("vexlo-only-in-user-path", {}, false).isEmpty());
    EXPECT_TRUE(QFileInfo::exists(marker));

    qputenv("PATH", oldPath);
}

TEST(TimeSetFile, WritesExactlyNineteenBytes)
{
    EXPECT_EQ(timeSetFileText(QDate(2017, 3, 3), QTime(7, 5, 9)),
              QByteArray("2017/03/03 07:05:09"));
    // Date and time come from two points in time, each read in local time.
    const QDateTime date(QDate(2016, 10, 28), QTime(23, 59, 59));
    const QDateTime time(QDate(2001, 1, 1), QTime(0, 0, 1));
    EXPECT_EQ(timeSetFileText(date, time), QByteArray("2016/10/28 00:00:01"));

    TempDir card;
    const QString longer = card.write("timeset.cfg", "2016/10/28 12:00:00 extra");
    ASSERT_EQ(QFileInfo(longer).size(), 25);
    ASSERT_TRUE(writeTimeSetFile(longer, QDate(2017, 3, 3), QTime(7, 5, 9)).isEmpty());
    QFile file(longer);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("2017/03/03 07:05:09"));

    const QString fresh = card.filePath("new/timeset.cfg");
    EXPECT_FALSE(writeTimeSetFile(fresh, QDate(2017, 3, 3), QTime(7, 5, 9)).isEmpty())
        << "a missing folder is reported, not confirmed";
    const QString notAFolder = card.write("plain");
    EXPECT_FALSE(writeTimeSetFile(notAFolder + "/timeset.cfg", date, time).isEmpty());
    EXPECT_FALSE(writeTimeSetFile(card.filePath("x.cfg"), QDate(), QTime(1, 2, 3)).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(card.filePath("x.cfg")));
}

// The computer's zone, for one test: far from UTC and off the whole hour, so that a time taken
// in UTC instead of local time differs in its hours, its minutes and here its date.
class LocalZone
{
public:
    explicit LocalZone(const char* posixZone)
        : m_hadZone(qEnvironmentVariableIsSet("TZ")), m_oldZone(qgetenv("TZ"))
    {
        qputenv("TZ", posixZone);
        ::tzset();
    }
    ~LocalZone()
    {
        if (m_hadZone)
            qputenv("TZ", m_oldZone);
        else
            qunsetenv("TZ");
        ::tzset();
    }

private:
    bool m_hadZone;
    QByteArray m_oldZone;
};

TEST(TimeSetFile, HoldsLocalTimeNotUtc)
{
    const LocalZone zone("<+0545>-05:45");
    // 20:30 UTC on 28 October is 02:15 on the 29th at +05:45.
    const QDateTime instant(QDate(2016, 10, 28), QTime(20, 30, 0), Qt::UTC);
    ASSERT_EQ(instant.toLocalTime().offsetFromUtc(), 5 * 3600 + 45 * 60) << "zone not in effect";
    EXPECT_EQ(timeSetFileText(instant, instant), QByteArray("2016/10/29 02:15:00"));

    TempDir card;
    const QString path = card.filePath("timeset.cfg");
    ASSERT_TRUE(writeTimeSetFile(path, instant, instant).isEmpty());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("2016/10/29 02:15:00"));
}

} // namespace
