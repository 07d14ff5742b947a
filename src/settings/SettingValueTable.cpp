#include "settings/SettingValueTable.h"

#include <array>

namespace {

using P = SettingPage;

constexpr SettingPages pages(SettingPage page)
{
    return SettingPages(page);
}
constexpr SettingPages pages(SettingPage first, SettingPage second)
{
    return SettingPages(first) | second;
}

// Builders for the rows of the table below, one per kind of field.

constexpr SettingFieldInfo fixed(const char* field, qint64 factory)
{
    return {.field = field, .kind = SettingValueKind::Fixed, .factory = factory};
}

constexpr SettingFieldInfo keptFixed(const char* field)
{
    return {.field = field, .kind = SettingValueKind::Fixed, .keptOnReset = true};
}

constexpr SettingFieldInfo choice(const char* field, SettingPages edited, qint64 factory,
                                  std::span<const SettingChoice> choices, int fallbackIndex = -1)
{
    return {.field = field,
            .kind = SettingValueKind::Choice,
            .pages = edited,
            .factory = factory,
            .choices = choices,
            .fallbackIndex = fallbackIndex};
}

constexpr SettingFieldInfo keptChoice(const char* field, SettingPages edited,
                                      std::span<const SettingChoice> choices,
                                      int fallbackIndex = -1)
{
    SettingFieldInfo info = choice(field, edited, 0, choices, fallbackIndex);
    info.keptOnReset = true;
    return info;
}

constexpr SettingFieldInfo flag(const char* field, SettingPages edited, qint64 factory,
                                bool kept = false)
{
    return {.field = field,
            .kind = SettingValueKind::Flag,
            .pages = edited,
            .factory = factory,
            .keptOnReset = kept};
}

constexpr SettingFieldInfo range(const char* field, SettingPages edited, qint64 factory,
                                 qint64 minimum, qint64 maximum, bool kept = false)
{
    return {.field = field,
            .kind = SettingValueKind::Range,
            .pages = edited,
            .factory = factory,
            .keptOnReset = kept,
            .minimum = minimum,
            .maximum = maximum};
}

constexpr SettingFieldInfo text(const char* field, SettingPages edited, const char* factoryText)
{
    return {.field = field,
            .kind = SettingValueKind::Text,
            .pages = edited,
            .factoryText = factoryText};
}

// Choice lists. Where the stored value is the segment's index the values run 0, 1, 2, ...

constexpr std::array kUnuseUse = {
    SettingChoice{0, labelKey("unuse")},
    SettingChoice{1, labelKey("use")},
};

constexpr std::array kOffOn = {
    SettingChoice{0, labelKey("off")},
    SettingChoice{1, labelKey("on")},
};

constexpr std::array kPowerVoltage = {
    SettingChoice{0, labelKey("unuse")},
    SettingChoice{1, labelKey("auto")},
    SettingChoice{10000, labelKey("externpower")},
    SettingChoice{11500, labelText("11.5v / 23.0v")},
    SettingChoice{11600, labelText("11.6v / 23.2v")},
    SettingChoice{11700, labelText("11.7v / 23.4v")},
    SettingChoice{11800, labelText("11.8v / 23.6v")},
    SettingChoice{11900, labelText("11.9v / 23.8v")},
    SettingChoice{12000, labelText("12.0v / 24.0v")},
    SettingChoice{12100, labelText("12.1v / 24.2v")},
    SettingChoice{12200, labelText("12.2v / 24.4v")},
    SettingChoice{12300, labelText("12.3v / 24.6v")},
    SettingChoice{12400, labelText("12.4v / 24.8v")},
};
constexpr int kPowerVoltageFallback = 8; // 12.0 V

constexpr std::array kPowerTime = {
    SettingChoice{0, labelKey("unuse")},
    SettingChoice{3, labelKeyWithNumber("nHour_fmt", 3)},
    SettingChoice{6, labelKeyWithNumber("nHour_fmt", 6)},
    SettingChoice{9, labelKeyWithNumber("nHour_fmt", 9)},
    SettingChoice{12, labelKeyWithNumber("nHour_fmt", 12)},
    SettingChoice{24, labelKeyWithNumber("nHour_fmt", 24)},
    SettingChoice{36, labelKeyWithNumber("nHour_fmt", 36)},
    SettingChoice{48, labelKeyWithNumber("nHour_fmt", 48)},
};

constexpr std::array kAlwaysModeTimeout = {
    SettingChoice{0, labelKey("unuse")},
    SettingChoice{10, labelKeyWithNumber("nSecond_fmt", 10)},
    SettingChoice{30, labelKeyWithNumber("nSecond_fmt", 30)},
    SettingChoice{60, labelKeyWithNumber("nMinute_fmt", 1)},
    SettingChoice{120, labelKeyWithNumber("nMinute_fmt", 2)},
    SettingChoice{180, labelKeyWithNumber("nMinute_fmt", 3)},
    SettingChoice{300, labelKeyWithNumber("nMinute_fmt", 5)},
    SettingChoice{420, labelKeyWithNumber("nMinute_fmt", 7)},
    SettingChoice{600, labelKeyWithNumber("nMinute_fmt", 10)},
};
constexpr int kAlwaysModeTimeoutFallback = 2; // 30 s

constexpr std::array kVolume = {
    SettingChoice{0, labelKey("unuse")},
    SettingChoice{1, labelTextWithKey("1(%@)", "setting.aux.volume_low")},
    SettingChoice{2, labelText("2")},
    SettingChoice{3, labelTextWithKey("3(%@)", "setting.aux.volume_up")},
};

constexpr std::array kVideoQuality = {
    SettingChoice{0, labelKey("setting.video.quality_normal")},
    SettingChoice{1, labelKey("setting.video.quality_high")},
    SettingChoice{2, labelKey("setting.video.quality_highest")},
};

constexpr std::array kVideoBrightness = {
    SettingChoice{0, labelText("1")},
    SettingChoice{1, labelText("2")},
    SettingChoice{2, labelTextWithKey("3(%@)", "default")},
    SettingChoice{3, labelText("4")},
    SettingChoice{4, labelText("5")},
};

constexpr std::array kMotionSensitivity = {
    SettingChoice{0, labelKey("unuse")}, SettingChoice{1, labelTextWithKey("1(%@)", "insensitive")},
    SettingChoice{2, labelText("2")},    SettingChoice{3, labelText("3")},
    SettingChoice{4, labelText("4")},    SettingChoice{5, labelTextWithKey("5(%@)", "sensitive")},
};

constexpr std::array kSpeedUnit = {
    SettingChoice{0, labelText("Km/h")},
    SettingChoice{1, labelText("Mi/h")},
};

constexpr std::array kWeekDay = {
    SettingChoice{0, labelKey("none")}, SettingChoice{1, labelKey("mon")},
    SettingChoice{2, labelKey("tue")},  SettingChoice{3, labelKey("wed")},
    SettingChoice{4, labelKey("thu")},  SettingChoice{5, labelKey("fri")},
    SettingChoice{6, labelKey("sat")},  SettingChoice{7, labelKey("sun")},
};

constexpr std::array kSaveDuration = {
    SettingChoice{0, labelKey("none")},
    SettingChoice{1, labelKeyWithNumber("nSecond_fmt", 1)},
    SettingChoice{2, labelKeyWithNumber("nSecond_fmt", 3)},
    SettingChoice{3, labelKeyWithNumber("nSecond_fmt", 5)},
    SettingChoice{4, labelKeyWithNumber("nSecond_fmt", 10)},
    SettingChoice{5, labelKeyWithNumber("nSecond_fmt", 15)},
    SettingChoice{6, labelKeyWithNumber("nSecond_fmt", 30)},
    SettingChoice{7, labelKeyWithNumber("nSecond_fmt", 60)},
};

constexpr std::array kDayTimeExposure = {
    SettingChoice{0, labelKey("setting.aux.low")},
    SettingChoice{1, labelKey("setting.aux.medium_sedan")},
    SettingChoice{2, labelKey("setting.aux.high_suv")},
};

// Voice-guidance language codes. The camera's code for Japanese is taken as 6 both when the
// page shows a card's value and when it stores a choice.
constexpr std::array kVoiceLanguage = {
    SettingChoice{0, labelKey("Korean")},
    SettingChoice{1, labelKey("English")},
    SettingChoice{5, labelKey("Chinese")},
    SettingChoice{6, labelKey("Japanese")},
};

constexpr std::array kLed = {
    SettingChoice{0, labelKey("setting.basic.LED_use")},
    SettingChoice{1, labelKey("setting.basic.LED_notuse")},
};

constexpr std::array kMainsFrequency = {
    SettingChoice{0, labelText("60Hz")},
    SettingChoice{1, labelText("50Hz")},
};

constexpr std::array kLcdAutoPowerOff = {
    SettingChoice{0, labelKey("none")},
    SettingChoice{1, labelKeyWithNumber("nSecond_fmt", 15)},
    SettingChoice{2, labelKeyWithNumber("nSecond_fmt", 30)},
    SettingChoice{3, labelKeyWithNumber("nSecond_fmt", 60)},
};

constexpr std::array kLcdBrightness = {
    SettingChoice{0, labelText("1")},
    SettingChoice{1, labelText("2")},
    SettingChoice{2, labelText("3")},
};

// The camera stores 0 for its default screen saver and 1 for none, while the segments read
// "unuse", "default", "time".
constexpr std::array kLcdScreenSaver = {
    SettingChoice{1, labelKey("unuse")},
    SettingChoice{0, labelKey("default")},
    SettingChoice{2, labelKey("time")},
};

// Stored inverted: 1 means the rear camera is not used while parked.
constexpr std::array kParkingRearOff = {
    SettingChoice{1, labelKey("unuse")},
    SettingChoice{0, labelKey("use")},
};

constexpr std::array kRecordingLength = {
    SettingChoice{0, labelKey("5min")},
    SettingChoice{1, labelKey("3min")},
};

constexpr std::array kRearFps = {
    SettingChoice{0, labelText("30fps")},
    SettingChoice{1, labelText("15fps")},
};
constexpr std::array kRearFpsAt50Hz = {
    SettingChoice{0, labelText("25fps")},
    SettingChoice{1, labelText("15fps")},
};

constexpr std::array kFrontTint = {
    SettingChoice{0, labelKey("cpl_unuse")},
    SettingChoice{1, labelKey("cpl_use")},
    SettingChoice{2, labelKey("light_tinting")},
    SettingChoice{3, labelKey("dark_tinting")},
};

constexpr std::array kRearTint = {
    SettingChoice{0, labelKey("unuse")},
    SettingChoice{1, labelKey("light_tinting")},
    SettingChoice{2, labelKey("dark_tinting")},
};

constexpr std::array kNightVision = {
    SettingChoice{0, labelKey("setting.motion.night_vision_notuse")},
    SettingChoice{1, labelKey("setting.motion.night_vision_use")},
};

constexpr std::array kParkingMode = {
    SettingChoice{0, labelKey("setting.motion.paking_mode_motion")},
    SettingChoice{1, labelKey("setting.motion.paking_mode_timelapse")},
};

constexpr std::array kCableVoltageLoss = {
    SettingChoice{1, labelKey("none")},  SettingChoice{2, labelText("0.1v")},
    SettingChoice{3, labelText("0.2v")}, SettingChoice{4, labelText("0.3v")},
    SettingChoice{5, labelText("0.4v")}, SettingChoice{6, labelText("0.5v")},
    SettingChoice{7, labelText("0.6v")},
};

constexpr std::array kObdPowerVoltage = {
    SettingChoice{11500, labelText("11.5v")}, SettingChoice{11600, labelText("11.6v")},
    SettingChoice{11700, labelText("11.7v")}, SettingChoice{11800, labelText("11.8v")},
    SettingChoice{11900, labelText("11.9v")}, SettingChoice{12000, labelText("12.0v")},
    SettingChoice{12100, labelText("12.1v")}, SettingChoice{12200, labelText("12.2v")},
    SettingChoice{12300, labelText("12.3v")}, SettingChoice{12400, labelText("12.4v")},
};

constexpr std::array kObdSaveInterval = {
    SettingChoice{1, labelKey("setting.motion.night_vision_notuse")},
    SettingChoice{2, labelKey("setting.motion.night_vision_use")},
};

constexpr std::array kAutoFormatAlarm = {
    SettingChoice{0, labelKey("setting.aux.auto_format_notuse")},
    SettingChoice{1, labelKey("setting.aux.auto_format_4week")},
    SettingChoice{2, labelKey("setting.aux.auto_format_8week")},
    SettingChoice{3, labelKey("setting.aux.auto_format_16week")},
    SettingChoice{4, labelKey("setting.aux.auto_format_32week")},
};

constexpr std::array kWifiChannel = {
    SettingChoice{0, labelText("   0(Auto)")}, SettingChoice{1, labelText("   1")},
    SettingChoice{2, labelText("   2")},       SettingChoice{3, labelText("   3")},
    SettingChoice{4, labelText("   4")},       SettingChoice{5, labelText("   5")},
    SettingChoice{6, labelText("   6")},       SettingChoice{7, labelText("   7")},
    SettingChoice{8, labelText("   8")},       SettingChoice{9, labelText("   9")},
    SettingChoice{10, labelText("  10")},      SettingChoice{11, labelText("  11")},
    SettingChoice{12, labelText("  12")},      SettingChoice{13, labelText("  13")},
};

constexpr std::array kAdasCar = {
    SettingChoice{0, labelKey("setting.adas.vehicle_sedan")},
    SettingChoice{1, labelKey("setting.adas.vehicle_suv")},
    SettingChoice{2, labelKey("setting.adas.vehicle_truck")},
};

constexpr std::array kAdasSensitivity = {
    SettingChoice{0, labelTextWithKey("0(%@)", "insensitive")},
    SettingChoice{1, labelText("1")},
    SettingChoice{2, labelTextWithKey("2(%@)", "sensitive")},
};

constexpr std::array kAdasFcmdEnable = {
    SettingChoice{0, labelKey("setting.aux.auto_format_notuse")},
    SettingChoice{1, labelKey("use")},
};

constexpr SettingLabel kAdasSpeedNotUsed = labelKey("setting.aux.auto_format_notuse");

constexpr std::array kAdasLdwsSpeed = {
    SettingChoice{0, kAdasSpeedNotUsed},      SettingChoice{30, labelText("30Km/h")},
    SettingChoice{40, labelText("40Km/h")},   SettingChoice{50, labelText("50Km/h")},
    SettingChoice{60, labelText("60Km/h")},   SettingChoice{70, labelText("70Km/h")},
    SettingChoice{80, labelText("80Km/h")},   SettingChoice{90, labelText("90Km/h")},
    SettingChoice{100, labelText("100Km/h")},
};
constexpr std::array kAdasLdwsSpeedMile = {
    SettingChoice{0, kAdasSpeedNotUsed},    SettingChoice{32, labelText("20Mi/h")},
    SettingChoice{40, labelText("25Mi/h")}, SettingChoice{48, labelText("30Mi/h")},
    SettingChoice{64, labelText("40Mi/h")}, SettingChoice{72, labelText("45Mi/h")},
    SettingChoice{80, labelText("50Mi/h")}, SettingChoice{89, labelText("55Mi/h")},
    SettingChoice{95, labelText("60Mi/h")},
};
constexpr std::array kAdasFcwsSpeed = {
    SettingChoice{0, kAdasSpeedNotUsed},    SettingChoice{30, labelText("30Km/h")},
    SettingChoice{50, labelText("50Km/h")}, SettingChoice{70, labelText("70Km/h")},
    SettingChoice{90, labelText("90Km/h")},
};
constexpr std::array kAdasFcwsSpeedMile = {
    SettingChoice{0, kAdasSpeedNotUsed},    SettingChoice{32, labelText("20Mi/h")},
    SettingChoice{48, labelText("30Mi/h")}, SettingChoice{72, labelText("45Mi/h")},
    SettingChoice{89, labelText("55Mi/h")},
};

constexpr std::array kGsensorSensitivityLabels = {
    labelTextWithKey("1(%@)", "insensitive"),
    labelText("2"),
    labelText("3"),
    labelText("4"),
    labelTextWithKey("5(%@)", "sensitive"),
    labelKey("setting.basic.customize"),
};

constexpr std::array kGsensorPresets = {
    GsensorPreset{70, 65, 25}, GsensorPreset{60, 55, 20}, GsensorPreset{50, 45, 15},
    GsensorPreset{40, 35, 12}, GsensorPreset{30, 25, 8},
};
static_assert(kGsensorPresets.size() == kGsensorCustomIndex);

constexpr qint64 kU32Max = 0xFFFFFFFF;
constexpr qint64 kMotionMaskMax = 0xFFF; // twelve blocks

// Every field of the record, in file order.
constexpr std::array kFieldInfos = {
    fixed("cfg_ver", kFileDataVersion),
    keptFixed("checksum"), // recomputed on every save
    fixed("disp_segment_mode", 1),
    range("sd_mem_always_ratio", pages(P::Aux), 70, 0, 100),
    range("sd_mem_event_ratio", pages(P::Aux), 10, 0, 100),
    range("sd_mem_motion_ratio", pages(P::Aux), 20, 0, 100),
    choice("sd_mem_always_reserved", pages(P::Basic, P::Obd), 12100, kPowerVoltage,
           kPowerVoltageFallback),
    flag("sd_mem_event_reserved", pages(P::Basic, P::Obd), 0),
    choice("sd_mem_motion_reserved", pages(P::Basic), 0, kPowerTime, 0),
    fixed("aud_enable", 3),
    fixed("aud_codec_type", 0),
    fixed("aud_sampling_freq", 1),
    fixed("aud_bitrate", 1),
    choice("aud_input_vol", pages(P::Audio), 3, kVolume),
    choice("aud_output_vol", pages(P::Audio), 2, kVolume),
    fixed("vid_enc_res", 0),
    keptChoice("vid_enc_bitrate", pages(P::Video), kVideoQuality),
    fixed("vid_framerate", 0),
    choice("vid_brightness", pages(P::Video), 2, kVideoBrightness),
    fixed("vid_contrast", 2),
    fixed("vid_saturation", 128),
    fixed("vid_sharpness", 2),
    fixed("vid_hue", 2),
    range("gsen_x_threshold", pages(P::Basic), 50, kGsensorThresholdMinimum,
          kGsensorThresholdMaximum),
    range("gsen_y_threshold", pages(P::Basic), 45, kGsensorThresholdMinimum,
          kGsensorThresholdMaximum),
    range("gsen_z_threshold", pages(P::Basic), 45, kGsensorThresholdMinimum,
          kGsensorThresholdMaximum),
    choice("always_mode_timeout", pages(P::Basic), 10, kAlwaysModeTimeout,
           kAlwaysModeTimeoutFallback),
    range("parkmode_x_threshold", pages(P::Basic), 8, kGsensorThresholdMinimum,
          kGsensorThresholdMaximum),
    range("parkmode_y_threshold", pages(P::Basic), 8, kGsensorThresholdMinimum,
          kGsensorThresholdMaximum),
    range("parkmode_z_threshold", pages(P::Basic), 8, kGsensorThresholdMinimum,
          kGsensorThresholdMaximum),
    choice("motion1080pCValue", pages(P::Motion), 3, kMotionSensitivity), // rear camera
    choice("motion720pCValue", pages(P::Motion), 3, kMotionSensitivity),  // front camera
    range("motionBlock", pages(P::Motion), 96, 0, kMotionMaskMax),
    fixed("high_temp_threshold", 97),
    fixed("high_temp_duration", 3600),
    fixed("safe_temp_threshold", 92),
    fixed("safe_temp_duration", 60),
    fixed("composite_mode", 0),
    fixed("osd_option", 0),
    choice("osd_speed_flag", pages(P::Gps, P::Obd), 1, kOffOn),
    fixed("osd_plate_flag", 0), // follows the car number on every save
    fixed("plate_number", 0),
    choice("speed_disp_unit", pages(P::Gps, P::Obd), 1, kSpeedUnit),
    range("time_gmt", pages(P::Gps, P::Obd), 0, -1, 33, true), // index into the zone table
    flag("summer_time", pages(P::Gps, P::Obd), 0, true),
    choice("nodriving_day", pages(P::Gps, P::Obd), 0, kWeekDay),
    fixed("auto_drive_in_mode_on", 1),
    fixed("auto_park_in_mode_on", 1),
    fixed("motion_detect_mode_on", 1),
    fixed("event_only_mode_on", 0),
    flag("g_sensor_enable", pages(P::Basic), 1),
    fixed("audio_mux_enable", 1),
    fixed("safe_temp_mode_on", 1),
    flag("alarm_ontime_flag", pages(P::Audio), 1),
    fixed("voiceEnable", 1),
    range("drivingSecurity", pages(P::Obd), 60, 0, 100),
    range("parkingSecurity", pages(P::Obd), 20, 0, 100),
    // The GPS page's interval codes; the OBD page packs two values into the same field.
    choice("SaveDuration", pages(P::Gps, P::Obd), 1, kSaveDuration),
    flag("MemConfig", pages(P::Obd), 176),
    fixed("BrightnessFixed", 3000),
    choice("DayTime", pages(P::Aux), 1, kDayTimeExposure),
    choice("NightTime", pages(P::Gps), 0, kOffOn), // GPS kept on in parking mode
    keptChoice("Brightness1", pages(P::Audio), kVoiceLanguage, 0),
    choice("ledoff", pages(P::Basic), 0, kLed),
    choice("Gamma", pages(P::Aux), 0, kMainsFrequency), // the Video page reads it too
    text("szPlateNumber", pages(P::Basic), "Zuva"),
    keptChoice("vid_enc_bitrate_R", pages(P::Video), kVideoQuality),
    choice("vid_brightness_R", pages(P::Video), 2, kVideoBrightness),
    fixed("vid_sharpness_R", 2),
    choice("lcd_autopoweroff", pages(P::Aux), 2, kLcdAutoPowerOff),
    choice("lcd_brightness", pages(P::Aux), 2, kLcdBrightness),
    choice("lcd_screensaver", pages(P::Aux), 0, kLcdScreenSaver),
    choice("parking_rear_off", pages(P::Aux), 0, kParkingRearOff, 0),
    fixed("sd2_mem_always_ratio", 1),
    fixed("sd2_mem_event_ratio", 98),
    fixed("sd2_mem_motion_ratio", 1),
    choice("flip_video", pages(P::Video), 0, kUnuseUse, 0),
    choice("parking_alarm", pages(P::Aux), 1, kUnuseUse),
    choice("rear_fps", pages(P::Video), 0, kRearFps, 0),
    fixed("motion_zone", 0),
    range("motionBlock_Rear", pages(P::Motion), 96, 0, kMotionMaskMax),
    choice("ledoff_rear", pages(P::Basic), 0, kLed),
    choice("always_mode_recording_time", pages(P::Aux), 1, kRecordingLength),
    range("pip_position", pages(P::Aux), 0, 0, 3),
    fixed("always_motion", 0),
    choice("lcd_brightness_night", pages(P::Aux), 1, kUnuseUse),
    fixed("size_rear", 0),
    choice("front_cpl_use", pages(P::Video), 0, kFrontTint),
    choice("rear_cpl_use", pages(P::Video), 0, kRearTint),
    text("wifi_ssid", pages(P::Aux), "ZuvaA"),
    text("wifi_password", pages(P::Aux), "40404040"),
    choice("CableVoltCorr", pages(P::Basic), 4, kCableVoltageLoss),
    choice("autoFormatAlarm", pages(P::Aux), 2, kAutoFormatAlarm),
    choice("ADAS_Car", pages(P::Adas), 0, kAdasCar),
    choice("ADAS_Ldws_Speed", pages(P::Adas), 30, kAdasLdwsSpeed, kAdasSpeedFallbackIndex),
    choice("ADAS_FCWS_Speed", pages(P::Adas), 30, kAdasFcwsSpeed, kAdasSpeedFallbackIndex),
    choice("ADAS_FCMD_Enable", pages(P::Adas), 1, kAdasFcmdEnable),
    choice("ADAS_LDWS_Sens", pages(P::Adas), 2, kAdasSensitivity),
    choice("ADAS_FCWS_Sens", pages(P::Adas), 2, kAdasSensitivity),
    choice("ADAS_FCMD_Sens", pages(P::Adas), 2, kAdasSensitivity),
    keptFixed("dummy1"),
    fixed("vide_wdr_enable", 1),
    choice("ParkingMode", pages(P::Motion), 0, kParkingMode),
    choice("En_SuperNightVision", pages(P::Video, P::Motion), 0, kNightVision),
    choice("wifi_channel", pages(P::Aux), 0, kWifiChannel),
    fixed("dummy00", 0),
    fixed("debug_mode", 1),
};

} // namespace

std::span<const SettingFieldInfo> settingFieldInfos()
{
    return kFieldInfos;
}

const SettingFieldInfo* findSettingFieldInfo(QAnyStringView field)
{
    for (const SettingFieldInfo& info : kFieldInfos) {
        if (field == QLatin1StringView(info.field))
            return &info;
    }
    return nullptr;
}

int settingChoiceIndex(std::span<const SettingChoice> choices, qint64 value, int fallbackIndex)
{
    for (std::size_t i = 0; i < choices.size(); ++i) {
        if (choices[i].value == value)
            return int(i);
    }
    return fallbackIndex;
}

int settingChoiceIndex(const SettingFieldInfo& info, qint64 value)
{
    return settingChoiceIndex(info.choices, value, info.fallbackIndex);
}

std::span<const SettingLabel> gsensorSensitivityLabels()
{
    return kGsensorSensitivityLabels;
}

std::span<const GsensorPreset> gsensorPresets()
{
    return kGsensorPresets;
}

std::span<const SettingChoice> adasLdwsSpeedMileChoices()
{
    return kAdasLdwsSpeedMile;
}

std::span<const SettingChoice> adasFcwsSpeedMileChoices()
{
    return kAdasFcwsSpeedMile;
}

std::span<const SettingChoice> rearFpsChoicesAt50Hz()
{
    return kRearFpsAt50Hz;
}

std::span<const SettingChoice> obdPowerVoltageChoices()
{
    return kObdPowerVoltage;
}

std::span<const SettingChoice> obdSaveIntervalChoices()
{
    return kObdSaveInterval;
}

std::span<const SettingChoice> obdParkingChoices()
{
    return kOffOn;
}
