#include "settings/FileDataFields.h"

#include <QtEndian>

#include <array>
#include <cstring>
#include <limits>

namespace {

constexpr FileDataField makeField(const char* name, std::size_t offset, FileDataFieldType type,
                                  std::size_t count, std::size_t memberSize)
{
    const FileDataField field{name, offset, type, count};
    if (field.size() != memberSize)
        throw "field type does not match the member's size";
    return field;
}

#define VXL_FIELD(member, type, count)                                                             \
    makeField(#member, offsetof(_FILEDATA, member), FileDataFieldType::type, count,                \
              sizeof(_FILEDATA::member))
#define VXL_U32(member) VXL_FIELD(member, U32, 1)
#define VXL_I32(member) VXL_FIELD(member, I32, 1)
#define VXL_U8(member) VXL_FIELD(member, U8, 1)

constexpr std::array kFields = {
    VXL_FIELD(cfg_ver, U16, 1),
    VXL_FIELD(checksum, U16, 1),
    VXL_U32(disp_segment_mode),
    VXL_U32(sd_mem_always_ratio),
    VXL_U32(sd_mem_event_ratio),
    VXL_U32(sd_mem_motion_ratio),
    VXL_U32(sd_mem_always_reserved),
    VXL_U32(sd_mem_event_reserved),
    VXL_U32(sd_mem_motion_reserved),
    VXL_U32(aud_enable),
    VXL_U32(aud_codec_type),
    VXL_U32(aud_sampling_freq),
    VXL_U32(aud_bitrate),
    VXL_U32(aud_input_vol),
    VXL_U32(aud_output_vol),
    VXL_U32(vid_enc_res),
    VXL_U32(vid_enc_bitrate),
    VXL_U32(vid_framerate),
    VXL_U32(vid_brightness),
    VXL_U32(vid_contrast),
    VXL_U32(vid_saturation),
    VXL_U32(vid_sharpness),
    VXL_U32(vid_hue),
    VXL_I32(gsen_x_threshold),
    VXL_I32(gsen_y_threshold),
    VXL_I32(gsen_z_threshold),
    VXL_U32(always_mode_timeout),
    VXL_I32(parkmode_x_threshold),
    VXL_I32(parkmode_y_threshold),
    VXL_I32(parkmode_z_threshold),
    VXL_U32(motion1080pCValue),
    VXL_U32(motion720pCValue),
    VXL_U32(motionBlock),
    VXL_I32(high_temp_threshold),
    VXL_U32(high_temp_duration),
    VXL_I32(safe_temp_threshold),
    VXL_U32(safe_temp_duration),
    VXL_U32(composite_mode),
    VXL_U32(osd_option),
    VXL_I32(osd_speed_flag),
    VXL_I32(osd_plate_flag),
    VXL_U32(plate_number),
    VXL_U32(speed_disp_unit),
    VXL_I32(time_gmt),
    VXL_U32(summer_time),
    VXL_U32(nodriving_day),
    VXL_U32(auto_drive_in_mode_on),
    VXL_U32(auto_park_in_mode_on),
    VXL_U32(motion_detect_mode_on),
    VXL_U32(event_only_mode_on),
    VXL_U32(g_sensor_enable),
    VXL_U32(audio_mux_enable),
    VXL_U32(safe_temp_mode_on),
    VXL_U32(alarm_ontime_flag),
    VXL_U32(voiceEnable),
    VXL_U32(drivingSecurity),
    VXL_U32(parkingSecurity),
    VXL_U32(SaveDuration),
    VXL_U32(MemConfig),
    VXL_U32(BrightnessFixed),
    VXL_U32(DayTime),
    VXL_U32(NightTime),
    VXL_U32(Brightness1),
    VXL_U32(ledoff),
    VXL_U32(Gamma),
    VXL_FIELD(szPlateNumber, Text, 8),
    VXL_U32(vid_enc_bitrate_R),
    VXL_U32(vid_brightness_R),
    VXL_U32(vid_sharpness_R),
    VXL_U32(lcd_autopoweroff),
    VXL_U32(lcd_brightness),
    VXL_U32(lcd_screensaver),
    VXL_U32(parking_rear_off),
    VXL_U32(sd2_mem_always_ratio),
    VXL_U32(sd2_mem_event_ratio),
    VXL_U32(sd2_mem_motion_ratio),
    VXL_U32(flip_video),
    VXL_U32(parking_alarm),
    VXL_U32(rear_fps),
    VXL_U32(motion_zone),
    VXL_U32(motionBlock_Rear),
    VXL_U32(ledoff_rear),
    VXL_U32(always_mode_recording_time),
    VXL_U32(pip_position),
    VXL_U32(always_motion),
    VXL_U32(lcd_brightness_night),
    VXL_U32(size_rear),
    VXL_U32(front_cpl_use),
    VXL_U32(rear_cpl_use),
    VXL_FIELD(wifi_ssid, Text, 16),
    VXL_FIELD(wifi_password, Text, 16),
    VXL_U32(CableVoltCorr),
    VXL_U32(autoFormatAlarm),
    VXL_U8(ADAS_Car),
    VXL_U8(ADAS_Ldws_Speed),
    VXL_U8(ADAS_FCWS_Speed),
    VXL_U8(ADAS_FCMD_Enable),
    VXL_U8(ADAS_LDWS_Sens),
    VXL_U8(ADAS_FCWS_Sens),
    VXL_U8(ADAS_FCMD_Sens),
    VXL_U8(dummy1),
    VXL_U32(vide_wdr_enable),
    VXL_U32(ParkingMode),
    VXL_U32(En_SuperNightVision),
    VXL_U32(wifi_channel),
    VXL_FIELD(dummy00, U32Array, 19),
    VXL_U32(debug_mode),
};

#undef VXL_FIELD
#undef VXL_U32
#undef VXL_I32
#undef VXL_U8

// The table must cover the record byte for byte, so that reading and writing by the table
// carries every byte of the file.
constexpr bool fieldsCoverRecord()
{
    std::size_t next = 0;
    for (const FileDataField& field : kFields) {
        if (field.offset != next)
            return false;
        next += field.size();
    }
    return next == kFileDataSize;
}
static_assert(fieldsCoverRecord());

template <typename T> T loadNative(const _FILEDATA& record, std::size_t offset)
{
    T value;
    std::memcpy(&value, reinterpret_cast<const char*>(&record) + offset, sizeof value);
    return value;
}

template <typename T> void storeNative(_FILEDATA* record, std::size_t offset, T value)
{
    std::memcpy(reinterpret_cast<char*>(record) + offset, &value, sizeof value);
}

} // namespace

std::span<const FileDataField> fileDataFields()
{
    return kFields;
}

const FileDataField* findFileDataField(QAnyStringView name)
{
    for (const FileDataField& field : kFields) {
        if (name == QLatin1StringView(field.name))
            return &field;
    }
    return nullptr;
}

QByteArray fileDataToBytes(const _FILEDATA& record)
{
    QByteArray bytes(qsizetype(kFileDataSize), '\0');
    uchar* out = reinterpret_cast<uchar*>(bytes.data());
    for (const FileDataField& field : kFields) {
        uchar* at = out + field.offset;
        switch (field.type) {
        case FileDataFieldType::U8:
        case FileDataFieldType::Text:
            std::memcpy(at, reinterpret_cast<const char*>(&record) + field.offset, field.count);
            break;
        case FileDataFieldType::U16:
            qToLittleEndian(loadNative<uint16_t>(record, field.offset), at);
            break;
        case FileDataFieldType::U32:
        case FileDataFieldType::I32:
        case FileDataFieldType::U32Array:
            for (std::size_t i = 0; i < field.size() / 4; ++i)
                qToLittleEndian(loadNative<uint32_t>(record, field.offset + 4 * i), at + 4 * i);
            break;
        }
    }
    return bytes;
}

bool fileDataFromBytes(const QByteArray& bytes, _FILEDATA* record)
{
    if (std::size_t(bytes.size()) < kFileDataSize)
        return false;
    const uchar* in = reinterpret_cast<const uchar*>(bytes.constData());
    for (const FileDataField& field : kFields) {
        const uchar* at = in + field.offset;
        switch (field.type) {
        case FileDataFieldType::U8:
        case FileDataFieldType::Text:
            std::memcpy(reinterpret_cast<char*>(record) + field.offset, at, field.count);
            break;
        case FileDataFieldType::U16:
            storeNative(record, field.offset, qFromLittleEndian<uint16_t>(at));
            break;
        case FileDataFieldType::U32:
        case FileDataFieldType::I32:
        case FileDataFieldType::U32Array:
            for (std::size_t i = 0; i < field.size() / 4; ++i)
                storeNative(record, field.offset + 4 * i, qFromLittleEndian<uint32_t>(at + 4 * i));
            break;
        }
    }
    return true;
}

qint64 fileDataNumber(const _FILEDATA& record, const FileDataField& field, std::size_t index)
{
    switch (field.type) {
    case FileDataFieldType::U8:
        return loadNative<uint8_t>(record, field.offset);
    case FileDataFieldType::U16:
        return loadNative<uint16_t>(record, field.offset);
    case FileDataFieldType::U32:
        return loadNative<uint32_t>(record, field.offset);
    case FileDataFieldType::I32:
        return loadNative<int32_t>(record, field.offset);
    case FileDataFieldType::U32Array:
        if (index >= field.count)
            return 0;
        return loadNative<uint32_t>(record, field.offset + 4 * index);
    case FileDataFieldType::Text:
        break;
    }
    return 0;
}

bool setFileDataNumber(_FILEDATA* record, const FileDataField& field, qint64 value,
                       std::size_t index)
{
    auto fits = [value](auto limits) {
        using T = decltype(limits);
        return value >= qint64(std::numeric_limits<T>::min()) &&
               value <= qint64(std::numeric_limits<T>::max());
    };
    switch (field.type) {
    case FileDataFieldType::U8:
        if (!fits(uint8_t{}))
            return false;
        storeNative(record, field.offset, uint8_t(value));
        return true;
    case FileDataFieldType::U16:
        if (!fits(uint16_t{}))
            return false;
        storeNative(record, field.offset, uint16_t(value));
        return true;
    case FileDataFieldType::U32:
        if (!fits(uint32_t{}))
            return false;
        storeNative(record, field.offset, uint32_t(value));
        return true;
    case FileDataFieldType::I32:
        if (!fits(int32_t{}))
            return false;
        storeNative(record, field.offset, int32_t(value));
        return true;
    case FileDataFieldType::U32Array:
        if (!fits(uint32_t{}) || index >= field.count)
            return false;
        storeNative(record, field.offset + 4 * index, uint32_t(value));
        return true;
    case FileDataFieldType::Text:
        break;
    }
    return false;
}

QByteArray fileDataText(const _FILEDATA& record, const FileDataField& field)
{
    if (field.type != FileDataFieldType::Text)
        return {};
    const char* at = reinterpret_cast<const char*>(&record) + field.offset;
    // The camera fills a full-width text with no terminating zero.
    return QByteArray(at, qsizetype(qstrnlen(at, uint(field.count))));
}

void setFileDataText(_FILEDATA* record, const FileDataField& field, const QByteArray& text)
{
    if (field.type != FileDataFieldType::Text)
        return;
    char* at = reinterpret_cast<char*>(record) + field.offset;
    std::memset(at, 0, field.count);
    std::memcpy(at, text.constData(), std::min(field.count, std::size_t(text.size())));
}
