#include "cardtools/GWUSBDiskEntity.h"

QString GWUSBDiskEntity::displayString() const
{
    QString line = QStringLiteral("[%1] %2 ").arg(sizeString(m_volumeSize), m_volumeName);
    if (!m_deviceModel.isEmpty())
        line += u'<' + m_deviceModel + u'>';
    return line;
}

QString sizeString(uint64_t bytes)
{
    if (bytes < 1024)
        return QStringLiteral("%1 B").arg(bytes);

    static constexpr char kUnits[] = "kMGTPEZY";
    constexpr int kMaxDivisions = 8;
    uint64_t q = bytes;
    uint64_t r = 0;
    bool sticky = false; // an earlier division left a remainder
    int divisions = 0;
    uint64_t before = 0;
    do {
        sticky = sticky || r != 0;
        before = q;
        r = q % 1024;
        q /= 1024;
        ++divisions;
    } while (before > 1048575 && divisions < kMaxDivisions);
    const char unit = kUnits[divisions - 1];

    if (q >= 10) {
        // Round half to even, the lost remainders counting as a sticky bit.
        if (r > 512 || (r == 512 && ((q & 1) != 0 || sticky)))
            ++q;
        if (q == 1024 && divisions < kMaxDivisions)
            return QStringLiteral("1.0 %1B").arg(QLatin1Char(kUnits[divisions]));
        return QStringLiteral("%1 %2B").arg(q).arg(QLatin1Char(unit));
    }
    if (r >= 950) {
        // Just under the next whole number: one decimal would read x.10, so give the next
        // whole number, with ".0" while it stays a single digit.
        if (q + 1 >= 10)
            return QStringLiteral("10 %1B").arg(QLatin1Char(unit));
        return QStringLiteral("%1.0 %2B").arg(q + 1).arg(QLatin1Char(unit));
    }
    // The decimal counts the remainder in hundreds, not in tenths of 1024: the disk list has
    // always shown sizes this way (1.84 GiB reads 1.9 GB).
    uint64_t tenth = r / 100;
    const uint64_t rest = r % 100;
    if (rest > 50 || (rest == 50 && ((tenth & 1) != 0 || sticky)))
        ++tenth;
    return QStringLiteral("%1.%2 %3B").arg(q).arg(tenth).arg(QLatin1Char(unit));
}
