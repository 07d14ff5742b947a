#pragma once

#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>

// The camera's settings file config.bin: one record of exactly 500 bytes, little-endian, with
// the camera's own field names. The structure is only the in-memory form: it is read and
// written field by field (FileDataFields.h), never by casting bytes, so the host's byte order
// does not matter.
struct _FILEDATA
{
    uint16_t cfg_ver;
    uint16_t checksum;
    uint32_t disp_segment_mode;
    uint32_t sd_mem_always_ratio;
    uint32_t sd_mem_event_ratio;
    uint32_t sd_mem_motion_ratio;
    uint32_t sd_mem_always_reserved;
    uint32_t sd_mem_event_reserved;
    uint32_t sd_mem_motion_reserved;
    uint32_t aud_enable;
    uint32_t aud_codec_type;
    uint32_t aud_sampling_freq;
    uint32_t aud_bitrate;
    uint32_t aud_input_vol;
    uint32_t aud_output_vol;
    uint32_t vid_enc_res;
    uint32_t vid_enc_bitrate;
    uint32_t vid_framerate;
    uint32_t vid_brightness;
    uint32_t vid_contrast;
    uint32_t vid_saturation;
    uint32_t vid_sharpness;
    uint32_t vid_hue;
    int32_t gsen_x_threshold;
    int32_t gsen_y_threshold;
    int32_t gsen_z_threshold;
    uint32_t always_mode_timeout;
    int32_t parkmode_x_threshold;
    int32_t parkmode_y_threshold;
    int32_t parkmode_z_threshold;
    uint32_t motion1080pCValue;
    uint32_t motion720pCValue;
    uint32_t motionBlock;
    int32_t high_temp_threshold;
    uint32_t high_temp_duration;
    int32_t safe_temp_threshold;
    uint32_t safe_temp_duration;
    uint32_t composite_mode;
    uint32_t osd_option;
    int32_t osd_speed_flag;
    int32_t osd_plate_flag;
    uint32_t plate_number;
    uint32_t speed_disp_unit;
    int32_t time_gmt;
    uint32_t summer_time;
    uint32_t nodriving_day;
    uint32_t auto_drive_in_mode_on;
    uint32_t auto_park_in_mode_on;
    uint32_t motion_detect_mode_on;
    uint32_t event_only_mode_on;
    uint32_t g_sensor_enable;
    uint32_t audio_mux_enable;
    uint32_t safe_temp_mode_on;
    uint32_t alarm_ontime_flag;
    uint32_t voiceEnable;
    uint32_t drivingSecurity;
    uint32_t parkingSecurity;
    uint32_t SaveDuration;
    uint32_t MemConfig;
    uint32_t BrightnessFixed;
    uint32_t DayTime;
    uint32_t NightTime;
    uint32_t Brightness1;
    uint32_t ledoff;
    uint32_t Gamma;
    char szPlateNumber[8];
    uint32_t vid_enc_bitrate_R;
    uint32_t vid_brightness_R;
    uint32_t vid_sharpness_R;
    uint32_t lcd_autopoweroff;
    uint32_t lcd_brightness;
    uint32_t lcd_screensaver;
    uint32_t parking_rear_off;
    uint32_t sd2_mem_always_ratio;
    uint32_t sd2_mem_event_ratio;
    uint32_t sd2_mem_motion_ratio;
    uint32_t flip_video;
    uint32_t parking_alarm;
    uint32_t rear_fps;
    uint32_t motion_zone;
    uint32_t motionBlock_Rear;
    uint32_t ledoff_rear;
    uint32_t always_mode_recording_time;
    uint32_t pip_position;
    uint32_t always_motion;
    uint32_t lcd_brightness_night;
    uint32_t size_rear;
    uint32_t front_cpl_use;
    uint32_t rear_cpl_use;
    char wifi_ssid[16];
    char wifi_password[16];
    uint32_t CableVoltCorr;
    uint32_t autoFormatAlarm;
    uint8_t ADAS_Car;
    uint8_t ADAS_Ldws_Speed;
    uint8_t ADAS_FCWS_Speed;
    uint8_t ADAS_FCMD_Enable;
    uint8_t ADAS_LDWS_Sens;
    uint8_t ADAS_FCWS_Sens;
    uint8_t ADAS_FCMD_Sens;
    uint8_t dummy1;
    uint32_t vide_wdr_enable;
    uint32_t ParkingMode;
    uint32_t En_SuperNightVision;
    uint32_t wifi_channel;
    uint32_t dummy00[19];
    uint32_t debug_mode;
};

constexpr std::size_t kFileDataSize = 500;

static_assert(sizeof(_FILEDATA) == kFileDataSize, "config.bin is exactly 500 bytes");
static_assert(offsetof(_FILEDATA, checksum) == 2);
static_assert(offsetof(_FILEDATA, disp_segment_mode) == 4);
static_assert(offsetof(_FILEDATA, gsen_x_threshold) == 88);
static_assert(offsetof(_FILEDATA, motionBlock) == 124);
static_assert(offsetof(_FILEDATA, osd_plate_flag) == 156);
static_assert(offsetof(_FILEDATA, speed_disp_unit) == 164);
static_assert(offsetof(_FILEDATA, time_gmt) == 168);
static_assert(offsetof(_FILEDATA, Gamma) == 252);
static_assert(offsetof(_FILEDATA, szPlateNumber) == 256);
static_assert(offsetof(_FILEDATA, vid_enc_bitrate_R) == 264);
static_assert(offsetof(_FILEDATA, motionBlock_Rear) == 320);
static_assert(offsetof(_FILEDATA, rear_cpl_use) == 352);
static_assert(offsetof(_FILEDATA, wifi_ssid) == 356);
static_assert(offsetof(_FILEDATA, wifi_password) == 372);
static_assert(offsetof(_FILEDATA, CableVoltCorr) == 388);
static_assert(offsetof(_FILEDATA, ADAS_Car) == 396);
static_assert(offsetof(_FILEDATA, dummy1) == 403);
static_assert(offsetof(_FILEDATA, vide_wdr_enable) == 404);
static_assert(offsetof(_FILEDATA, wifi_channel) == 416);
static_assert(offsetof(_FILEDATA, dummy00) == 420);
static_assert(offsetof(_FILEDATA, debug_mode) == 496);

constexpr uint16_t kFileDataVersion = 22310;

// Localization key answered by writeFileData when config.bin could not be written whole.
inline constexpr char kFileOpenFailKey[] = "msg.file_open_fail";

// Reads the first 500 bytes of `path` into `record`. No check of cfg_ver or the checksum: a
// card's record is taken as it is. Answers false, leaving `record` as it was, when the file
// cannot be opened, is not a regular file (a FIFO, a device, a folder: never waited on) or
// holds fewer than 500 bytes; `reason`, when given, then says which.
bool readFileData(const QString& path, _FILEDATA* record, QString* reason = nullptr);

// The same, for a file that must be exactly a settings file: one of any other size is refused
// (a record cut from a longer file would be saved back over it, losing the rest).
bool readExactFileData(const QString& path, _FILEDATA* record, QString* reason = nullptr);

// Writes the 500 bytes of `record` to `path`. Answers an empty text on success, else the key
// "msg.file_open_fail"; the system's reason goes to the log and to `reason` when given.
// Whatever fails, the card keeps a whole config.bin: either the previous one or the new one,
// with the previous one's mode and owner.
QString writeFileData(const _FILEDATA& record, const QString& path, QString* reason = nullptr);

// Stores the factory value of the settings value table (SettingValueTable.h) into every field
// except the kept ones (vid_enc_bitrate, vid_enc_bitrate_R, time_gmt, summer_time, Brightness1,
// dummy1, checksum).
void initDefaultFileData(_FILEDATA* record);

// Writes a factory record, with its checksum filled in, to `path`; answers as writeFileData.
QString writeDefaultFileData(const QString& path, QString* reason = nullptr);

// XOR of the 124 little-endian words after offset 4, low 16 bits. cfg_ver and checksum do not
// take part.
uint16_t fileDataChecksum(const _FILEDATA& record);

// What every save does before writing: osd_plate_flag follows the car number, then the
// checksum is recomputed.
void completeFileDataForSave(_FILEDATA* record);

// Motion-detection blocks 1..12 (three rows of four, from the top left) as bits of
// motionBlock / motionBlock_Rear: block 1 is bit 8, block 4 bit 11, block 5 bit 4, block 9
// bit 0. A set bit switches the block off.
int motionBlockBit(int block);
bool isMotionBlockOff(uint32_t mask, int block);
uint32_t setMotionBlockOff(uint32_t mask, int block, bool off);

// The zone table indexed by time_gmt: offsets from UTC as signed hours * 100 + minutes.
extern const std::array<int, 34> kTimeZoneTable;

// "-12:00" ... "+13:00" for an index of the zone table, empty for any other index.
QString timeZoneLabel(int index);

// Index into the zone table of an offset from UTC in seconds, or -1 when the table lacks it.
int timeZoneIndexForOffset(int offsetSeconds);

// The zone index of the computer's current offset from UTC, or -1.
int systemTimeZoneIndex();
