// libFuzzer target: the box walk and record loop over arbitrary bytes, then the display
// values at a few positions and the three export writers over whatever came out.
#include "drivedata/DriveDataDisplay.h"
#include "drivedata/DriveDataExport.h"
#include "drivedata/VXLBlackBoxData.h"

#include <QIODevice>

#include <cstdint>
#include <cstdlib>

namespace {

// Takes every byte and keeps none: the writers' text is not checked, only that they finish.
class NullDevice final : public QIODevice
{
public:
    NullDevice() { open(WriteOnly | Unbuffered); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 size) override { return size; }
};

void extract(QByteArrayView file)
{
    VXLBlackBoxData blackBox;
    const bool found = blackBox.extractFromBytes(file);
    const qsizetype records = blackBox.m_GSensors().size();
    if (records != blackBox.m_vGpsData().size())
        std::abort();
    if (!found && (records != 0 || !blackBox.m_NMEAs().isEmpty()))
        std::abort();
    // Records must come from the file's own bytes (one 155-byte chunk each at most), from the
    // table's entries, and stay within the bounds of a recording. A record's 128 bytes of
    // text end at most 42 sentences ("$G" and a terminator each).
    if (uint64_t(records) * 155 > uint64_t(file.size()) ||
        uint64_t(records) > blackBox.announcedRecordCount() ||
        records > VXLBlackBoxData::kRecordLimit ||
        blackBox.m_NMEAs().size() > VXLBlackBoxData::kSentenceLimit + 42)
        std::abort();
    for (const double position : {0.0, 0.37, 0.5, 1.0})
        driveDataDisplayValues(blackBox.m_GSensors(), blackBox.m_NMEAs(), blackBox.m_vGpsData(),
                               position);
    NullDevice out;
    if (!writeDriveDataCsv(blackBox, out) || !writeDriveDataGpx(blackBox, out) ||
        !writeDriveDataJson(blackBox, out))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char*>(data), qsizetype(size));
    extract(input);

    // The record loop reads the table 2048 entries at a time; an input within the fuzzer's
    // length bound cannot hold a table that long. Repeated up to 16 KiB, a table that runs on
    // into the copies can, and its entries also point into them.
    constexpr qsizetype kTiledSize = 16 * 1024;
    if (size == 0 || input.size() >= kTiledSize)
        return 0;
    QByteArray tiled;
    tiled.reserve(kTiledSize + input.size());
    while (tiled.size() < kTiledSize)
        tiled.append(input);
    extract(tiled);
    return 0;
}
