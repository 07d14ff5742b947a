#include "settings/FileData.h"

#include "settings/FileDataFields.h"

#include "fileio/SafeFileReader.h"
#include "fileio/SafeFileWriter.h"

#include <QDateTime>
#include <QLoggingCategory>
#include <QtEndian>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

Q_LOGGING_CATEGORY(lcSettings, "vexlo.settings")

void setText(char* field, std::size_t width, const char* text)
{
    std::memset(field, 0, width);
    std::memcpy(field, text, std::min(width, std::strlen(text)));
}

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

void initDefaultFileData(_FILEDATA* r)
{
    r->cfg_ver = kFileDataVersion;
    r->disp_segment_mode = 1;
    r->sd_mem_always_ratio = 70;
    r->sd_mem_event_ratio = 10;
    r->sd_mem_motion_ratio = 20;
    r->sd_mem_always_reserved = 12100;
    r->sd_mem_event_reserved = 0;
    r->sd_mem_motion_reserved = 0;
    r->aud_enable = 3;
    r->aud_codec_type = 0;
    r->aud_sampling_freq = 1;
    r->aud_bitrate = 1;
    r->aud_input_vol = 3;
    r->aud_output_vol = 2;
    r->vid_enc_res = 0;
    r->vid_framerate = 0;
    r->vid_brightness = 2;
    r->vid_contrast = 2;
    r->vid_saturation = 128;
    r->vid_sharpness = 2;
    r->vid_hue = 2;
    r->gsen_x_threshold = 50;
    r->gsen_y_threshold = 45;
    r->gsen_z_threshold = 45;
    r->always_mode_timeout = 10;
    r->parkmode_x_threshold = 8;
    r->parkmode_y_threshold = 8;
    r->parkmode_z_threshold = 8;
    r->motion1080pCValue = 3;
    r->motion720pCValue = 3;
    r->motionBlock = 96;
    r->high_temp_threshold = 97;
    r->high_temp_duration = 3600;
    r->safe_temp_threshold = 92;
    r->safe_temp_duration = 60;
    r->composite_mode = 0;
    r->osd_option = 0;
    r->osd_speed_flag = 1;
    r->osd_plate_flag = 0;
    r->plate_number = 0;
    r->speed_disp_unit = 1;
    r->nodriving_day = 0;
    r->auto_drive_in_mode_on = 1;
    r->auto_park_in_mode_on = 1;
    r->motion_detect_mode_on = 1;
    r->event_only_mode_on = 0;
    r->g_sensor_enable = 1;
    r->audio_mux_enable = 1;
    r->safe_temp_mode_on = 1;
    r->alarm_ontime_flag = 1;
    r->voiceEnable = 1;
    r->drivingSecurity = 60;
    r->parkingSecurity = 20;
    r->SaveDuration = 1;
    r->MemConfig = 176;
    r->BrightnessFixed = 3000;
    r->DayTime = 1;
    r->NightTime = 0;
    r->ledoff = 0;
    r->Gamma = 0;
    setText(r->szPlateNumber, sizeof r->szPlateNumber, "Zuva");
    r->vid_brightness_R = 2;
    r->vid_sharpness_R = 2;
    r->lcd_autopoweroff = 2;
    r->lcd_brightness = 2;
    r->lcd_screensaver = 0;
    r->parking_rear_off = 0;
    r->sd2_mem_always_ratio = 1;
    r->sd2_mem_event_ratio = 98;
    r->sd2_mem_motion_ratio = 1;
    r->flip_video = 0;
    r->parking_alarm = 1;
    r->rear_fps = 0;
    r->motion_zone = 0;
    r->motionBlock_Rear = 96;
    r->ledoff_rear = 0;
    r->always_mode_recording_time = 1;
    r->pip_position = 0;
    r->always_motion = 0;
    r->lcd_brightness_night = 1;
    r->size_rear = 0;
    r->front_cpl_use = 0;
    r->rear_cpl_use = 0;
    setText(r->wifi_ssid, sizeof r->wifi_ssid, "ZuvaA");
    setText(r->wifi_password, sizeof r->wifi_password, "40404040");
    r->CableVoltCorr = 4;
    r->autoFormatAlarm = 2;
    r->ADAS_Car = 0;
    r->ADAS_Ldws_Speed = 30;
    r->ADAS_FCWS_Speed = 30;
    r->ADAS_FCMD_Enable = 1;
    r->ADAS_LDWS_Sens = 2;
    r->ADAS_FCWS_Sens = 2;
    r->ADAS_FCMD_Sens = 2;
    r->vide_wdr_enable = 1;
    r->ParkingMode = 0;
    r->En_SuperNightVision = 0;
    r->wifi_channel = 0;
    std::fill(std::begin(r->dummy00), std::end(r->dummy00), 0u);
    r->debug_mode = 1;
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
