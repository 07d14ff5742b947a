#pragma once

#include "driverecords/DriveRecords.h"

#include <QString>

#include <cstdint>
#include <span>

// The two forms of drive-record file; which one a file is comes from its extension.
enum class DriveRecordKind {
    FlashData,    // ".drv", 40-byte records
    ObdDriveInfo, // ".obd", 68-byte records
};

// One column of a viewer's table and of its CSV export.
struct DriveRecordColumn
{
    // String-table key of the title, or nullptr for a title shown as it is ("X", "Y", "Z").
    const char* titleKey;
    // The English title: the string table's text of the key, and what vexlo-tool prints. No
    // title holds a comma, since the export quotes nothing.
    const char* englishTitle;
    int width; // pixels
};

std::span<const DriveRecordColumn> driveRecordColumns(DriveRecordKind kind);

// The cell of `column` for a record shown as row `rowNumber` (1-based, the first column):
// written at `out` (at most columns × DriveRecordText::kMaxCellTextSize bytes for a whole
// row), answering the end. A column outside the table writes nothing.
char* writeDriveRecordCell(char* out, const _FLASH_SAVE_VALUE_STRUCT& record, int column,
                           int64_t rowNumber);
char* writeDriveRecordCell(char* out, const _OBD_SAVE_VALUE_STRUCT& record, int column,
                           int64_t rowNumber);

template <typename Record>
QString driveRecordCellText(const Record& record, int column, int64_t rowNumber)
{
    char text[64];
    const char* end = writeDriveRecordCell(text, record, column, rowNumber);
    return QString::fromLatin1(text, end - text);
}

// A record's position in decimal degrees, from the latitude and longitude texts of its cells
// read as ddmm.mmmm numbers. The file stores no hemisphere: both are always north and east.
struct DriveRecordPosition
{
    double latitude = 0;
    double longitude = 0;

    // A record without a fix stores 0/0; the viewers leave the map where it is for it.
    bool isKnown() const { return latitude != 0 && longitude != 0; }
};

DriveRecordPosition driveRecordPosition(const _FLASH_SAVE_VALUE_STRUCT& record);
DriveRecordPosition driveRecordPosition(const _OBD_SAVE_VALUE_STRUCT& record);

template <typename Record> struct DriveRecordTraits;
template <> struct DriveRecordTraits<_FLASH_SAVE_VALUE_STRUCT>
{
    static constexpr DriveRecordKind kKind = DriveRecordKind::FlashData;
    static _FLASH_SAVE_VALUE_STRUCT fromBytes(const char* bytes)
    {
        return flashRecordFromBytes(bytes);
    }
};
template <> struct DriveRecordTraits<_OBD_SAVE_VALUE_STRUCT>
{
    static constexpr DriveRecordKind kKind = DriveRecordKind::ObdDriveInfo;
    static _OBD_SAVE_VALUE_STRUCT fromBytes(const char* bytes) { return obdRecordFromBytes(bytes); }
};
