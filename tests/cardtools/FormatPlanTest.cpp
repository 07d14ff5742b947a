#include "cardtools/FormatPlan.h"
#include "cardtools/FormatTarget.h"
#include "cardtools/ShellScript.h"

#include <gtest/gtest.h>

namespace {

const QString kNumber = QString::fromLatin1(kScriptErrorNumberKey);
const QString kMessage = QString::fromLatin1(kScriptErrorMessageKey);

TEST(FormatPlan, SectorsPerClusterBySize)
{
    const struct
    {
        uint64_t bytes;
        int sectorsPerCluster;
        int allocationKB;
    } cases[] = {
        {7516192767, 32, 16},   // 1 byte under 7 GiB
        {7516192768, 128, 64},  // exactly 7 GiB
        {4000000000, 32, 16},   // a "4 GB" card holds 3.7 GiB
        {16000000000, 128, 64}, // a "16 GB" card
        {0, 32, 16},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(clusterSizeByVolumeSizeInKB(c.bytes), c.sectorsPerCluster) << c.bytes;
        EXPECT_EQ(allocationUnitKB(c.sectorsPerCluster), c.allocationKB) << c.bytes;
    }
}

TEST(FormatPlan, ClusterCountDecidesWhatCanBeFat32)
{
    // mkfs.fat and fsck.fat give a 2 GiB image of this layout 131007 clusters.
    EXPECT_EQ(cardLayoutClusterCount(2ull << 30, 32), 131007u);
    EXPECT_LT(cardLayoutClusterCount(1ull << 30, 32), kFat32MinimumClusters);
    EXPECT_GE(cardLayoutClusterCount(1100ull << 20, 32), kFat32MinimumClusters);
    EXPECT_GE(cardLayoutClusterCount(7ull << 30, 128), kFat32MinimumClusters);
    EXPECT_EQ(cardLayoutClusterCount(16 * 512, 32), 0u);
    EXPECT_GT(cardLayoutClusterCount(~0ull, 128), 0u) << "no overflow at the top";
}

TEST(FormatPlan, CommandArgumentLists)
{
    const QStringList layout{"-a", "-F", "32", "-n", "ZUVA", "-f",
                             "2",  "-b", "6",  "-R", "32",   "-s"};
    EXPECT_EQ(formatCommand("/dev/sdb1", 32),
              (SystemCommand{"mkfs.fat", layout + QStringList{"32", "/dev/sdb1"}, true}))
        << "a partition";
    EXPECT_EQ(formatCommand("/dev/sdc", 128),
              (SystemCommand{"mkfs.fat", layout + QStringList{"128", "/dev/sdc"}, true}))
        << "a whole medium";

    EXPECT_EQ(mountCommand("/dev/sdb1", "/mnt/card", false, 1000, 100),
              (SystemCommand{"mount", {"-o", "uid=1000,gid=100", "/dev/sdb1", "/mnt/card"}, true}))
        << "without UDisks2 the user still owns the files";
}

TEST(FormatPlan, FormatterFailuresToldApart)
{
    const QVariantMap failed{{kNumber, 1}, {kMessage, "mkfs.fat: failed whilst writing"}};
    const QVariantMap protectedCard = formatterErrorRecord(failed, true);
    EXPECT_EQ(protectedCard.value(kNumber).toInt(), kFormatWriteProtectedNumber);
    const QVariantMap other = formatterErrorRecord(failed, false);
    EXPECT_EQ(other.value(kNumber).toInt(), kFormatFailedNumber);
    EXPECT_EQ(other.value(kMessage), failed.value(kMessage));
    const QVariantMap refused{{kNumber, 126}, {kMessage, "Not authorized"}};
    EXPECT_EQ(formatterErrorRecord(refused, true), refused) << "pkexec's own failure";
    EXPECT_TRUE(formatterErrorRecord({}, true).isEmpty());
}

// A card reader with a partitioned card, a write-protected stick without partitions, a USB
// hard disk (hot-plug, not removable media), the system disk, a USB stick that holds the
// system's swap, a loop device.
const char kListing[] = R"({"blockdevices":[
  {"name":"nvme0n1","path":"/dev/nvme0n1","mountpoint":null,"rm":false,"hotplug":false,"tran":"nvme","size":500107862016,"ro":false,"type":"disk",
   "children":[{"name":"nvme0n1p2","path":"/dev/nvme0n1p2","mountpoint":"/","rm":false,"hotplug":false,"tran":null,"size":499033980928,"ro":false,"type":"part"}]},
  {"name":"sdb","path":"/dev/sdb","mountpoint":null,"rm":true,"hotplug":true,"tran":"usb","size":15931539456,"ro":false,"type":"disk",
   "children":[{"name":"sdb1","path":"/dev/sdb1","mountpoint":"/media/u/ZUVA","rm":true,"hotplug":true,"tran":null,"size":15927345152,"ro":false,"type":"part"}]},
  {"name":"sdc","path":"/dev/sdc","mountpoint":null,"rm":true,"hotplug":true,"tran":"usb","size":1977614336,"ro":true,"type":"disk"},
  {"name":"sdd","path":"/dev/sdd","mountpoint":null,"rm":false,"hotplug":true,"tran":"usb","size":1000204886016,"ro":false,"type":"disk",
   "children":[{"name":"sdd1","path":"/dev/sdd1","mountpoint":"/media/u/disk","rm":false,"hotplug":true,"tran":null,"size":1000202241024,"ro":false,"type":"part"}]},
  {"name":"sde","path":"/dev/sde","mountpoint":null,"rm":true,"hotplug":true,"tran":"usb","size":31914983424,"ro":false,"type":"disk",
   "children":[{"name":"sde1","path":"/dev/sde1","mountpoint":"/media/u/DATA","rm":true,"hotplug":true,"tran":null,"size":30000000000,"ro":false,"type":"part"},
               {"name":"sde2","path":"/dev/sde2","mountpoint":"[SWAP]","rm":true,"hotplug":true,"tran":null,"size":1914983424,"ro":false,"type":"part"}]},
  {"name":"loop0","path":"/dev/loop0","mountpoint":null,"rm":false,"hotplug":false,"tran":null,"size":2147483648,"ro":false,"type":"loop"}
]})";

TEST(FormatTarget, OnlyTheChosenRemovableUsbMedium)
{
    const auto chosen = [](const QString& device, uint64_t size) {
        return GWUSBDiskEntity("ZUVA", {}, device, {}, size, true, false, {});
    };
    const struct
    {
        const char* what;
        GWUSBDiskEntity volume;
        const char* problem; // a part of the reason, or empty when the format may go ahead
    } cases[] = {
        {"a card in a reader", chosen("/dev/sdb1", 15927345152), ""},
        {"a stick without partitions", chosen("/dev/sdc", 1977614336), ""},
        {"a card folder", chosen("/home/u/card", 0), "folder"},
        {"a card taken out", chosen("/dev/sdf1", 15927345152), "no longer attached"},
        {"another card in the same reader", chosen("/dev/sdb1", 7948206080), "size"},
        {"a USB hard disk", chosen("/dev/sdd1", 1000202241024), "fixed disk"},
        {"the system's disk", chosen("/dev/nvme0n1p2", 499033980928), "USB"},
        {"a stick that holds the swap", chosen("/dev/sde1", 30000000000), "system"},
        {"a loop device", chosen("/dev/loop0", 2147483648), "loop"},
    };
    for (const auto& c : cases) {
        const QString problem =
            formatTargetProblem(c.volume, blockDeviceState(kListing, c.volume.deviceFilePath()));
        if (*c.problem == 0) {
            EXPECT_TRUE(problem.isEmpty()) << c.what << ": " << problem.toStdString();
        } else {
            EXPECT_TRUE(problem.contains(QLatin1String(c.problem)))
                << c.what << ": " << problem.toStdString();
        }
    }

    const auto card = blockDeviceState(kListing, "/dev/sdb1");
    ASSERT_TRUE(card.has_value());
    EXPECT_EQ(card->mountPoints, QStringList{"/media/u/ZUVA"});
    const auto stick = blockDeviceState(kListing, "/dev/sdc");
    ASSERT_TRUE(stick.has_value());
    EXPECT_TRUE(stick->readOnly);
    for (const char* bad : {"", "[]", R"({"blockdevices":[{"children":7}]})"})
        EXPECT_FALSE(blockDeviceState(bad, "/dev/sdb1").has_value()) << bad;
}

} // namespace
