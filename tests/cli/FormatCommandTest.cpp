#include "ToolRunner.h"
#include "support/CardImage.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

// The tool keeps settings under $XDG_DATA_HOME: each test gives it a folder of its own.
class VexloToolFormat : public ::testing::Test
{
protected:
    void SetUp() override { qputenv("XDG_DATA_HOME", m_data.path().toUtf8()); }
    void TearDown() override { qunsetenv("XDG_DATA_HOME"); }
    QString keptFolder() const { return m_data.filePath("Vexlo/kept-settings"); }

    TempDir m_dir;

private:
    TempDir m_data;
};

TEST_F(VexloToolFormat, ImageBecomesACardTheCameraAccepts)
{
    const QString image = m_dir.filePath("card.img");
    makeSparseImage(image, 2ll << 30);

    const ToolResult refused = runTool({"format", image});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains("--yes")) << refused.err.toStdString();
    EXPECT_EQ(readBytes(image, 0, 4096), QByteArray(4096, '\0')) << "nothing changed";

    const ToolResult blank = runTool({"format", image, "--yes"});
    ASSERT_EQ(blank.exitCode, 0) << blank.err.toStdString();
    EXPECT_EQ(blank.out, QByteArray(image.toUtf8() + ": FAT32, label ZUVA, 32 sectors per cluster "
                                                     "(16 KB)\nconfig.bin: the factory file\n"));
    EXPECT_EQ(runProgram("fsck.fat", {"-n", image}).exitCode, 0);
    EXPECT_EQ(runProgram("mdir", {"-b", "-i", image, "::/"}).out, QByteArray("::/config.bin\n"));
    EXPECT_EQ(imageFile(image, "config.bin").size(), 500);

    // Formatted again, the card keeps the settings it holds.
    const QByteArray mine(500, 'm');
    putImageFile(image, "config.bin", m_dir.write("mine.bin", mine));
    const ToolResult again = runTool({"format", image, "--yes"});
    ASSERT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_TRUE(again.out.contains("put back from the card (kept in " + keptFolder().toUtf8()))
        << again.out.toStdString();
    EXPECT_EQ(imageFile(image, "config.bin"), mine);
}

TEST_F(VexloToolFormat, OtherTargetsAreRefused)
{
    const QString small = m_dir.filePath("small.img");
    makeSparseImage(small, 64 << 20);
    QStringList targets{m_dir.path(), "/dev/null", m_dir.filePath("missing.img"), small};
    // The disk holding this machine's root file system, where it is a block device.
    const QString root =
        QString::fromLocal8Bit(runProgram("findmnt", {"-n", "-o", "SOURCE", "/"}).out).trimmed();
    if (root.startsWith("/dev/"))
        targets << root;
    for (const QString& target : targets) {
        const ToolResult result = runTool({"format", target, "--yes"});
        EXPECT_EQ(result.exitCode, 2) << target.toStdString();
        EXPECT_TRUE(result.err.startsWith("format: " + target.toUtf8() + " "))
            << result.err.toStdString();
        EXPECT_TRUE(result.out.isEmpty());
    }
    EXPECT_EQ(readBytes(small, 0, 4096), QByteArray(4096, '\0'));
    EXPECT_EQ(runTool({"format"}).exitCode, 2);
    EXPECT_EQ(runTool({"format", small, "--yes", "extra"}).exitCode, 2);
}

TEST_F(VexloToolFormat, LoopDevice)
{
    const QString image = m_dir.filePath("card.img");
    makeSparseImage(image, 8ll << 30);
    const QString device = attachLoopDevice(image, false);
    if (device.isEmpty())
        GTEST_SKIP() << "losetup cannot attach a loop device here";
    const ToolResult result = runTool({"format", device, "--yes"});
    detachLoopDevice(device);
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_TRUE(result.out.contains("128 sectors per cluster (64 KB)"));
    EXPECT_EQ(runProgram("fsck.fat", {"-n", image}).exitCode, 0);
    EXPECT_EQ(imageFile(image, "config.bin").size(), 500);
}

} // namespace
