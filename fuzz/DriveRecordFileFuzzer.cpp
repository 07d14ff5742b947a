// libFuzzer target: a drive-record file of either form (DRIVE_RECORD type chosen at build
// time), read whole, every record's position worked out, and exported as CSV.
#include "driverecords/DriveRecordCsv.h"
#include "driverecords/DriveRecordFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using Record = DRIVE_RECORD;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    DriveRecordFileReader reader(Record::kSize);
    if (!reader.openBytes(bytes))
        return 0;
    const auto contents = readDriveRecords<Record>(reader);
    if (contents.records.size() + contents.missingCount != qint64(contents.announcedCount))
        std::abort(); // every announced record is either read or counted as missing
    qsizetype written = 0;
    DriveRecordCsvWriter writer(DriveRecordTraits<Record>::kKind, [&](const char*, qsizetype n) {
        written += n;
        return true;
    });
    const auto kind = DriveRecordTraits<Record>::kKind;
    if (!writeDriveRecordsCsv(writer, englishDriveRecordTitles(kind), contents.records))
        std::abort();
    for (const Record& record : contents.records)
        driveRecordPosition(record);
    return 0;
}
