// libFuzzer target: arbitrary bytes as lsblk's JSON listing, through the volume functions and
// the lines they show.
#include "cardtools/VolumeDiscovery.h"

#include <cstdint>
#include <cstdlib>

namespace {

class FuzzedBlockDevices : public BlockDeviceSource
{
public:
    explicit FuzzedBlockDevices(QByteArray listing) : m_listing(std::move(listing)) {}
    BlockDeviceListing blockDeviceListing() const override { return {m_listing, {}}; }
    QString probeVolumeLabel(const QString&) const override { return {}; }

private:
    QByteArray m_listing;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const FuzzedBlockDevices source(
        QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    removableVolumeURLs(source);
    usbVolumeURLs(source);
    const VolumeQuery<QList<GWUSBDiskEntity>> entities = usbDiskEntities(source);
    // A listing that is not lsblk's is a failure, never a list that happens to be empty.
    if (entities.failed() && !entities.found.isEmpty())
        std::abort();
    for (const GWUSBDiskEntity& entity : entities.found)
        entity.displayString();
    return 0;
}
