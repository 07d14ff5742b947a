#include "cardtools/VolumeDiscovery.h"

#include "support/TempDir.h"

#include <QHash>

#include <gtest/gtest.h>

namespace {

// Recorded lsblk output with the mount points moved under a test folder, and the labels blkid
// would read from the devices.
class RecordedBlockDevices : public BlockDeviceSource
{
public:
    RecordedBlockDevices(const QByteArray& listing, const QString& mountRoot,
                         QHash<QString, QString> labels = {})
        : m_listing(QByteArray(listing).replace("@MNT@", mountRoot.toUtf8())),
          m_labels(std::move(labels))
    {
    }
    BlockDeviceListing blockDeviceListing() const override { return {m_listing, {}}; }
    QString probeVolumeLabel(const QString& devicePath) const override
    {
        return m_labels.value(devicePath);
    }

private:
    QByteArray m_listing;
    QHash<QString, QString> m_labels;
};

// An internal disk and a DVD drive; a card reader with a partitioned card; a write-protected
// stick formatted without partitions and reported without model; a USB hard disk (hot-plug,
// not removable) whose label udev did not see; an unmounted USB partition.
const char kListing[] = R"({
   "blockdevices": [
      {"name":"nvme0n1", "path":"/dev/nvme0n1", "label":null, "mountpoint":null, "rm":false, "hotplug":false, "tran":"nvme", "model":"Samsung SSD 980", "size":500107862016, "ro":false, "type":"disk", "pkname":null,
         "children": [
            {"name":"nvme0n1p2", "path":"/dev/nvme0n1p2", "label":null, "mountpoint":"/", "rm":false, "hotplug":false, "tran":null, "model":null, "size":499033980928, "ro":false, "type":"part", "pkname":"nvme0n1"}
         ]
      },
      {"name":"sr0", "path":"/dev/sr0", "label":"DATA", "mountpoint":"@MNT@/DATA", "rm":true, "hotplug":true, "tran":"sata", "model":"DVD-RW", "size":4700372992, "ro":true, "type":"rom", "pkname":null},
      {"name":"sdb", "path":"/dev/sdb", "label":null, "mountpoint":null, "rm":true, "hotplug":true, "tran":"usb", "model":"Card Reader  ", "size":15931539456, "ro":false, "type":"disk", "pkname":null,
         "children": [
            {"name":"sdb1", "path":"/dev/sdb1", "label":"ZUVA", "mountpoint":"@MNT@/ZUVA", "rm":true, "hotplug":true, "tran":null, "model":null, "size":15927345152, "ro":false, "type":"part", "pkname":"sdb"}
         ]
      },
      {"name":"sdc", "path":"/dev/sdc", "label":"VEXLO", "mountpoint":"@MNT@/VEXLO", "rm":true, "hotplug":true, "tran":"usb", "model":null, "size":1977614336, "ro":true, "type":"disk", "pkname":null},
      {"name":"sdd", "path":"/dev/sdd", "label":null, "mountpoint":null, "rm":false, "hotplug":true, "tran":"usb", "model":"Portable HDD", "size":1000204886016, "ro":false, "type":"disk", "pkname":null,
         "children": [
            {"name":"sdd1", "path":"/dev/sdd1", "label":null, "mountpoint":"@MNT@/disk", "rm":false, "hotplug":true, "tran":null, "model":null, "size":1000202241024, "ro":false, "type":"part", "pkname":"sdd"},
            {"name":"sdd2", "path":"/dev/sdd2", "label":"SPARE", "mountpoint":null, "rm":false, "hotplug":true, "tran":null, "model":null, "size":1048576, "ro":false, "type":"part", "pkname":"sdd"}
         ]
      }
   ]
})";

TEST(SizeString, Examples)
{
    for (const auto& [bytes, text] : std::initializer_list<std::pair<uint64_t, const char*>>{
             {0, "0 B"},
             {1023, "1023 B"},
             {1024, "1.0 kB"},
             {1536, "1.5 kB"},
             {1048575, "1.0 MB"},
             {1048576000, "1000 MB"},
             {1977614336, "1.9 GB"},
             {17072495001, "16 GB"},
             {2684354560, "2.5 GB"},
             {10ull << 30, "10 GB"},
             {(2ull << 30) - 1, "2.0 GB"}, // just under the next whole unit
             {(10ull << 30) - 1, "10 GB"}, // quotient 9: the next unit is two digits
             {1024 + 950, "2.0 kB"},
             {1024 + 949, "1.9 kB"},
             {(1ull << 40) - 1, "1.0 TB"}, // rounds up into the next unit
             {10240 + 512, "10 kB"},       // half to even
             {11264 + 512, "12 kB"},
             {(10ull << 20) + 512 * 1024 + 1, "11 MB"}, // an earlier remainder breaks the tie
             {~0ull, "16 EB"},
         })
        EXPECT_EQ(sizeString(bytes), QString::fromLatin1(text)) << bytes;
}

TEST(VolumeDiscovery, UsbEntitiesFromRecordedLsblk)
{
    TempDir mounts;
    const RecordedBlockDevices source(kListing, mounts.path(),
                                      {{QStringLiteral("/dev/sdd1"), QStringLiteral("BACKUP")}});

    EXPECT_EQ(removableVolumeURLs(source).found,
              (QList<QUrl>{QUrl::fromLocalFile(mounts.filePath("DATA")),
                           QUrl::fromLocalFile(mounts.filePath("ZUVA")),
                           QUrl::fromLocalFile(mounts.filePath("VEXLO")),
                           QUrl::fromLocalFile(mounts.filePath("disk"))}));
    EXPECT_EQ(usbVolumeURLs(source).found, removableVolumeURLs(source).found.mid(1));

    const VolumeQuery<QList<GWUSBDiskEntity>> listed = usbDiskEntities(source);
    EXPECT_FALSE(listed.failed()) << listed.failure.toStdString();
    const QList<GWUSBDiskEntity>& entities = listed.found;
    ASSERT_EQ(entities.size(), 3);
    const GWUSBDiskEntity& card = entities[0];
    EXPECT_EQ(card.volumeName(), QStringLiteral("ZUVA"));
    EXPECT_EQ(card.mountedURL(), QUrl::fromLocalFile(mounts.filePath("ZUVA")));
    EXPECT_EQ(card.deviceFilePath(), QStringLiteral("/dev/sdb1"));
    EXPECT_EQ(card.volumeSize(), 15927345152u);
    EXPECT_TRUE(card.writable());
    EXPECT_FALSE(card.mediaWhole());
    EXPECT_EQ(card.displayString(), QStringLiteral("[15 GB] ZUVA <Card Reader>"));

    const GWUSBDiskEntity& stick = entities[1];
    EXPECT_FALSE(stick.writable());
    EXPECT_TRUE(stick.mediaWhole());
    EXPECT_TRUE(stick.deviceModel().isEmpty());
    EXPECT_EQ(stick.displayString(), QStringLiteral("[1.9 GB] VEXLO "));

    EXPECT_EQ(entities[2].volumeName(), QStringLiteral("BACKUP")) << "label read from the device";
    EXPECT_EQ(entities[2].deviceModel(), QStringLiteral("Portable HDD"));

    // Without blkid's answer the mount point's name stands in for the label.
    const RecordedBlockDevices unlabelled(kListing, mounts.path());
    const QList<GWUSBDiskEntity> unlabelledEntities = usbDiskEntities(unlabelled).found;
    ASSERT_EQ(unlabelledEntities.size(), 3);
    EXPECT_EQ(unlabelledEntities[2].volumeName(), QStringLiteral("disk"));

    // The flat --list form, with parents given by pkname only, gives the same volumes.
    const RecordedBlockDevices flat(
        R"({"blockdevices":[
            {"name":"sdb1","path":"/dev/sdb1","label":"ZUVA","mountpoint":"@MNT@/ZUVA","rm":"0","hotplug":"0","tran":null,"model":null,"size":"1977614336","ro":"0","type":"part","pkname":"sdb"},
            {"name":"sdb","path":"/dev/sdb","label":null,"mountpoint":null,"rm":"1","hotplug":"1","tran":"usb","model":"Reader","size":"1977614336","ro":"1","type":"disk","pkname":null}]})",
        mounts.path());
    const QList<GWUSBDiskEntity> fromFlat = usbDiskEntities(flat).found;
    ASSERT_EQ(fromFlat.size(), 1);
    EXPECT_FALSE(fromFlat[0].writable()) << "a write-protected reader protects its partitions";
    EXPECT_EQ(fromFlat[0].displayString(), QStringLiteral("[1.9 GB] ZUVA <Reader>"));
}

TEST(VolumeDiscovery, ListingThatIsNotLsblksIsAFailure)
{
    TempDir mounts;
    const struct
    {
        const char* listing;
        bool failed;
    } cases[] = {
        {"", true},
        {"not json", true},
        {"{}", true},
        {"[]", true},
        {R"({"blockdevices":{}})", true},
        {R"({"blockdevices":[1,"x"]})", true},
        {R"({"blockdevices":[{"name":"sdb","children":"sdb1"}]})", true},
        {R"({"blockdevices":[{"name":"sdb","tran":"usb","rm":true,"children":[{"name":"sdb1",)"
         R"("mountpoint":"@MNT@/A"},7]}]})",
         true},
        {R"({"blockdevices":[]})", false},
        {R"({"blockdevices":[{"name":"sda2","mountpoint":"[SWAP]","rm":true}]})", false},
    };
    for (const auto& c : cases) {
        const RecordedBlockDevices source(c.listing, mounts.path());
        const VolumeQuery<QList<GWUSBDiskEntity>> entities = usbDiskEntities(source);
        EXPECT_EQ(entities.failed(), c.failed) << c.listing;
        EXPECT_TRUE(entities.found.isEmpty()) << c.listing;
        EXPECT_EQ(removableVolumeURLs(source).failed(), c.failed) << c.listing;
        EXPECT_EQ(usbVolumeURLs(source).failed(), c.failed) << c.listing;
        const VolumeQuery<std::optional<GWUSBDiskEntity>> card = findCardDiskEntity(source);
        EXPECT_EQ(card.failed(), c.failed) << c.listing;
        EXPECT_FALSE(card.found.has_value()) << c.listing;
    }
}

// The system source, with stand-ins for lsblk that fail the ways a real one can.
TEST(VolumeDiscovery, SystemSourceReportsLsblkFailures)
{
    TempDir tools;
    const auto script = [&](const QString& name, const QByteArray& body) {
        const QString path = tools.write(name, "#!/bin/sh\n" + body + "\n");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    };
    const QString listing = tools.write("listing.json", R"({"blockdevices":[]})");
    const struct
    {
        QString lsblk;
        const char* failure; // part of the reason, or empty for success
        int timeoutMs = 10000;
    } cases[] = {
        {tools.filePath("missing-lsblk"), "cannot run"},
        {script("failing", "echo 'lsblk: cannot open /sys' >&2; exit 1"), "cannot open /sys"},
        {script("crashing", "kill -SEGV $$"), "crashed"},
        {script("hung", "exec sleep 30"), "did not finish", 300},
        {script("garbage", "echo 'NAME MOUNTPOINT'"), "no JSON"},
        {script("good", "cat '" + listing.toUtf8() + "'"), ""},
    };
    for (const auto& c : cases) {
        const SystemBlockDeviceSource source(c.lsblk, QStringLiteral("blkid"), c.timeoutMs);
        const VolumeQuery<QList<GWUSBDiskEntity>> entities = usbDiskEntities(source);
        EXPECT_EQ(entities.failed(), c.failure[0] != 0) << c.lsblk.toStdString();
        EXPECT_TRUE(entities.failure.contains(QString::fromUtf8(c.failure)))
            << entities.failure.toStdString();
        EXPECT_TRUE(entities.found.isEmpty());
    }
}

TEST(VolumeDiscovery, FindVolumeWithFile)
{
    TempDir mounts;
    const RecordedBlockDevices source(kListing, mounts.path());
    mounts.mkdir("ZUVA");
    mounts.write("VEXLO/timeset.cfg");
    mounts.write("DATA/timeset.cfg");     // not on USB
    mounts.write("ZUVA/sub/timeset.cfg"); // not at the root
    EXPECT_EQ(findUSBVolumeWithFile(QStringLiteral("timeset.cfg"), source).found,
              QUrl::fromLocalFile(mounts.filePath("VEXLO")));
    EXPECT_FALSE(findUSBVolumeWithFile(QStringLiteral("config.bin"), source).found.has_value());
}

TEST(VolumeDiscovery, CardFolderIsOneMoreVolumeThatCannotBeFormatted)
{
    TempDir mounts;
    const RecordedBlockDevices devices(kListing, mounts.path());
    const QString copy = mounts.mkdir("card copy");
    mounts.write("card copy/timeset.cfg");
    const CardFolderBlockDeviceSource source(devices, copy);

    const QList<GWUSBDiskEntity> entities = usbDiskEntities(source).found;
    ASSERT_EQ(entities.size(), 4);
    const GWUSBDiskEntity& folder = entities.last();
    EXPECT_FALSE(folder.removable());
    EXPECT_TRUE(folder.deviceFilePath().isEmpty()) << "nothing a formatter could be given";
    EXPECT_EQ(folder.volumeName(), QStringLiteral("card copy"));
    EXPECT_EQ(folder.mountedURL(), QUrl::fromLocalFile(copy));
    EXPECT_TRUE(folder.writable());
    EXPECT_GT(folder.volumeSize(), 0u);
    for (qsizetype i = 0; i < 3; ++i)
        EXPECT_TRUE(entities[i].removable());

    EXPECT_EQ(usbVolumeURLs(source).found.last(), QUrl::fromLocalFile(copy));
    EXPECT_FALSE(removableVolumeURLs(source).found.contains(QUrl::fromLocalFile(copy)));
    // Files are looked for on the USB volumes first, then in the folder.
    EXPECT_EQ(findUSBVolumeWithFile(QStringLiteral("timeset.cfg"), source).found,
              QUrl::fromLocalFile(copy));
    mounts.write("VEXLO/timeset.cfg");
    EXPECT_EQ(findUSBVolumeWithFile(QStringLiteral("timeset.cfg"), source).found,
              QUrl::fromLocalFile(mounts.filePath("VEXLO")));
    // The recorded listing holds camera cards, which win over the folder.
    EXPECT_EQ(findCardDiskEntity(source).found->deviceFilePath(), QStringLiteral("/dev/sdb1"));

    // Without a USB card the folder is the card, and it stays usable when lsblk fails.
    const RecordedBlockDevices noCard(R"({"blockdevices":[
        {"name":"sde1","path":"/dev/sde1","label":"MUSIC","mountpoint":"@MNT@/MUSIC","rm":true,
         "hotplug":true,"tran":"usb","model":"Stick","size":8000000000,"ro":false,"type":"disk"}]})",
                                      mounts.path());
    const std::optional<GWUSBDiskEntity> card =
        findCardDiskEntity(CardFolderBlockDeviceSource(noCard, copy)).found;
    ASSERT_TRUE(card.has_value());
    EXPECT_EQ(card->key(), copy);
    class FailingDevices : public BlockDeviceSource
    {
        BlockDeviceListing blockDeviceListing() const override { return {{}, "lsblk crashed"}; }
        QString probeVolumeLabel(const QString&) const override { return {}; }
    } failing;
    const VolumeQuery<std::optional<GWUSBDiskEntity>> withoutLsblk =
        findCardDiskEntity(CardFolderBlockDeviceSource(failing, copy));
    EXPECT_TRUE(withoutLsblk.failed());
    ASSERT_TRUE(withoutLsblk.found.has_value());
    EXPECT_EQ(withoutLsblk.found->key(), copy);

    // A folder that is a USB volume's mount point is listed once, as that volume; a folder
    // that is gone is not listed.
    mounts.mkdir("ZUVA");
    EXPECT_EQ(
        usbDiskEntities(CardFolderBlockDeviceSource(devices, mounts.filePath("ZUVA"))).found.size(),
        3);
    EXPECT_EQ(
        usbDiskEntities(CardFolderBlockDeviceSource(devices, mounts.filePath("gone"))).found.size(),
        3);
}

GWUSBDiskEntity volume(const TempDir& mounts, const QString& device, const QString& name,
                       bool writable, bool withConfig = false)
{
    const QString folder = mounts.mkdir(device);
    if (withConfig)
        mounts.write(device + "/config.bin");
    return GWUSBDiskEntity(name, QUrl::fromLocalFile(folder), device, {}, 1 << 30, writable, false,
                           device);
}

TEST(VolumeDiscovery, CardLookupPrefersTheCameraCard)
{
    TempDir mounts;
    const auto vexloProtected = volume(mounts, "sdb1", "VEXLO", false);
    const auto vexloPlain = volume(mounts, "sdc1", "VEXLO", true);
    const auto vexloWithConfig = volume(mounts, "sdd1", "VEXLO", true, true);
    const auto zuva = volume(mounts, "sde1", "ZUVA", true);
    const auto zuvaProtected = volume(mounts, "sdf1", "ZUVA", false);
    const auto stick = volume(mounts, "sdg1", "STICK", true);
    const auto lowercase = volume(mounts, "sdh1", "zuva", true);
    const auto protectedStick = volume(mounts, "sdi1", "OLD", false);
    mounts.write("ZUVA/config.bin");
    const auto folder = cardFolderDiskEntity(mounts.filePath("ZUVA"));

    const struct
    {
        const char* what;
        QList<GWUSBDiskEntity> list;
        const char* expected; // device, or empty when nothing is found
    } cases[] = {
        {"a write-protected card beats a writable stick", {stick, vexloProtected}, "sdb1"},
        {"the card holding config.bin wins", {vexloPlain, vexloWithConfig}, "sdd1"},
        {"a card labelled by the format is the card", {stick, zuva}, "sde1"},
        {"ZUVA and VEXLO count alike, first wins", {zuva, vexloPlain}, "sde1"},
        {"writable card before protected card", {zuvaProtected, vexloPlain}, "sdc1"},
        {"names compare case-sensitively", {protectedStick, lowercase}, "sdh1"},
        {"no card: first writable", {protectedStick, stick, lowercase}, "sdg1"},
        {"a protected card before a protected stick", {protectedStick, zuvaProtected}, "sdf1"},
        {"nothing writable, no card: first volume",
         {protectedStick, volume(mounts, "sdj1", "X", false)},
         "sdi1"},
        {"no volume", {}, ""},
        {"the card folder before a USB stick", {stick, folder}, "ZUVA"},
        {"a USB card, even protected, before the card folder", {folder, zuvaProtected}, "sdf1"},
        {"the card folder alone", {folder}, "ZUVA"},
    };
    for (const auto& c : cases) {
        const std::optional<GWUSBDiskEntity> card = findCardDiskEntity(c.list);
        EXPECT_EQ(card ? QFileInfo(card->key()).fileName() : QString(),
                  QString::fromLatin1(c.expected))
            << c.what;
    }
}

} // namespace
