// libFuzzer target: the box walk and record loop over arbitrary bytes, then the display
// values at a few positions of whatever came out.
#include "drivedata/DriveDataDisplay.h"
#include "drivedata/VXLBlackBoxData.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    VXLBlackBoxData blackBox;
    const bool found = blackBox.extractFromBytes(
        QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    const qsizetype records = blackBox.m_GSensors().size();
    if (records != blackBox.m_vGpsData().size())
        std::abort();
    if (!found && (records != 0 || !blackBox.m_NMEAs().isEmpty()))
        std::abort();
    // Records must come from the file's own bytes: one 155-byte chunk each at most.
    if (uint64_t(records) * 155 > size)
        std::abort();
    for (const double position : {0.0, 0.37, 0.5, 1.0})
        driveDataDisplayValues(blackBox.m_GSensors(), blackBox.m_NMEAs(), blackBox.m_vGpsData(),
                               position);
    return 0;
}
