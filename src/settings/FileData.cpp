#include "settings/FileData.h"

#include "settings/FileDataFields.h"
#include "settings/SettingValueTable.h"

#include "fileio/SafeFileReader.h"
#include "fileio/SafeFileWriter.h"

#include <QDateTime>
#include <QLoggingCategory>
#include <QtEndian>

#include <algorithm>
#include <cstdlib>

namespace {

Q_LOGGING_CATEGORY(lcSettings, "vexlo.settings", QtWarningMsg)

bool readRecordFile(const QString& path, _FILEDATA* record, bool exactSize, QString* reason)
{
    SafeFileReader file(path);
    QString problem = file.errorString();
    if (file.isOpen() && exactSize && file.size() != kFileDataSize)
        problem = QStringLiteral("it holds %1 bytes; a settings file holds exactly %2")
                      .arg(file.size())
                      .arg(kFileDataSize);
    QByteArray bytes;
    if (problem.isEmpty()) {
        bytes = file.read(qsizetype(kFileDataSize));
        // A short file is not mixed into the record: a half-read record would be saved back
        // with a valid checksum over partly stale values.
        if (bytes.size() != qsizetype(kFileDataSize))
            problem = QStringLiteral("it holds %1 bytes; a settings file holds %2")
                          .arg(bytes.size())
                          .arg(kFileDataSize);
    }
    if (!problem.isEmpty()) {
        if (reason)
            *reason = problem;
        return false;
    }
    return fileDataFromBytes(bytes, record);
}

} // namespace

const std::array<int, 34> kTimeZoneTable = {
    -1200, -1100, -1000, -900, -800, -700, -600, -500, -430, -400, -330, -300,
    -200,  -100,  0,     100,  200,  300,  330,  400,  430,  500,  530,  545,
    600,   630,   700,   800,  900,  930,  1000, 1100, 1200, 1300,
};

bool readFileData(const QString& path, _FILEDATA* record, QString* reason)
{
    return readRecordFile(path, record, false, reason);
}

bool readExactFileData(const QString& path, _FILEDATA* record, QString* reason)
{
    return readRecordFile(path, record, true, reason);
}

QString writeFileData(const _FILEDATA& record, const QString& path, QString* reason)
{
    const QString problem = replaceFileContents(path, fileDataToBytes(record));
    if (problem.isEmpty())
        return {};
    qCWarning(lcSettings, "%s: %s", qUtf8Printable(path), qUtf8Printable(problem));
    if (reason)
        *reason = problem;
    return QString::fromLatin1(kFileOpenFailKey);
}

void initDefaultFileData(_FILEDATA* record)
{
    for (const SettingFieldInfo& info : settingFieldInfos()) {
        if (info.keptOnReset)
            continue;
        const FileDataField* field = findFileDataField(info.field);
        if (!field) // the table test keeps both tables in step
            continue;
        if (field->type == FileDataFieldType::Text) {
            setFileDataText(record, *field, QByteArray(info.factoryText));
            continue;
        }
        for (std::size_t i = 0; i < field->count; ++i)
            setFileDataNumber(record, *field, info.factory, i);
    }
}

QString writeDefaultFileData(const QString& path, QString* reason)
{
    _FILEDATA record{};
    initDefaultFileData(&record);
    // The factory file keeps osd_plate_flag 0 although it carries a car number: only a save
    // from the settings window sets the flag.
    record.checksum = 0;
    record.checksum = fileDataChecksum(record);
    return writeFileData(record, path, reason);
}

uint16_t fileDataChecksum(const _FILEDATA& record)
{
    const QByteArray bytes = fileDataToBytes(record);
    const uchar* data = reinterpret_cast<const uchar*>(bytes.constData());
    uint32_t x = 0;
    for (std::size_t offset = 4; offset < kFileDataSize; offset += 4)
        x ^= qFromLittleEndian<uint32_t>(data + offset);
    return uint16_t(x & 0xFFFF);
}

void completeFileDataForSave(_FILEDATA* record)
{
    record->osd_plate_flag = record->szPlateNumber[0] != 0 ? 1 : 0;
    record->checksum = 0;
    record->checksum = fileDataChecksum(*record);
}

int motionBlockBit(int block)
{
    if (block < 1 || block > 12)
        return -1;
    const int row = (block - 1) / 4;
    const int column = (block - 1) % 4;
    return (2 - row) * 4 + column;
}

bool isMotionBlockOff(uint32_t mask, int block)
{
    const int bit = motionBlockBit(block);
    return bit >= 0 && (mask >> bit & 1u) != 0;
}

uint32_t setMotionBlockOff(uint32_t mask, int block, bool off)
{
    const int bit = motionBlockBit(block);
    if (bit >= 0)
        mask = off ? mask | (1u << bit) : mask & ~(1u << bit);
    return mask & 0xFFFu;
}

QString timeZoneLabel(int index)
{
    if (index < 0 || index >= int(kTimeZoneTable.size()))
        return {};
    const int value = kTimeZoneTable[std::size_t(index)];
    const int magnitude = std::abs(value);
    return QString::asprintf("%c%02d:%02d", value < 0 ? '-' : '+', magnitude / 100,
                             magnitude % 100);
}

int timeZoneIndexForOffset(int offsetSeconds)
{
    const int hours = offsetSeconds / 3600; // truncates toward zero, as minutes below expect
    const int minutes = (offsetSeconds - hours * 3600) / 60;
    const int value = hours * 100 + minutes;
    const auto found = std::find(kTimeZoneTable.begin(), kTimeZoneTable.end(), value);
    return found == kTimeZoneTable.end() ? -1 : int(found - kTimeZoneTable.begin());
}

int systemTimeZoneIndex()
{
    return timeZoneIndexForOffset(QDateTime::currentDateTime().offsetFromUtc());
}
