#pragma once

#include <QByteArray>

// The factory config.bin, written down from the record's field table: every field at its
// offset, little-endian, with its factory value; kept fields zero; the checksum filled in.
inline const QByteArray kFactoryConfigBin = QByteArray::fromHex(
    "2657 b836 01000000 46000000 0a000000"   // 0 cfg_ver 22310, checksum 0x36B8 (the low half of
                                             // the XOR of the words after offset 4),
                                             // disp_segment_mode 1,
                                             // sd_mem_always_ratio 70, sd_mem_event_ratio 10
    "14000000 442f0000 00000000 00000000"    // 16 sd_mem_motion_ratio 20,
                                             // sd_mem_always_reserved 12100, event 0, motion 0
    "03000000 00000000 01000000 01000000"    // 32 aud_enable 3, aud_codec_type 0,
                                             // aud_sampling_freq 1, aud_bitrate 1
    "03000000 02000000 00000000 00000000"    // 48 aud_input_vol 3, aud_output_vol 2,
                                             // vid_enc_res 0, vid_enc_bitrate kept
    "00000000 02000000 02000000 80000000"    // 64 vid_framerate 0, vid_brightness 2,
                                             // vid_contrast 2, vid_saturation 128
    "02000000 02000000 32000000 2d000000"    // 80 vid_sharpness 2, vid_hue 2,
                                             // gsen_x_threshold 50, gsen_y_threshold 45
    "2d000000 0a000000 08000000 08000000"    // 96 gsen_z_threshold 45, always_mode_timeout 10,
                                             // parkmode_x_threshold 8, parkmode_y_threshold 8
    "08000000 03000000 03000000 60000000"    // 112 parkmode_z_threshold 8, motion1080pCValue 3,
                                             // motion720pCValue 3, motionBlock 96
    "61000000 100e0000 5c000000 3c000000"    // 128 high_temp_threshold 97, duration 3600,
                                             // safe_temp_threshold 92, duration 60
    "00000000 00000000 01000000 00000000"    // 144 composite_mode 0, osd_option 0,
                                             // osd_speed_flag 1, osd_plate_flag 0
    "00000000 01000000 00000000 00000000"    // 160 plate_number 0, speed_disp_unit 1,
                                             // time_gmt kept, summer_time kept
    "00000000 01000000 01000000 01000000"    // 176 nodriving_day 0, auto_drive_in_mode_on 1,
                                             // auto_park_in_mode_on 1, motion_detect_mode_on 1
    "00000000 01000000 01000000 01000000"    // 192 event_only_mode_on 0, g_sensor_enable 1,
                                             // audio_mux_enable 1, safe_temp_mode_on 1
    "01000000 01000000 3c000000 14000000"    // 208 alarm_ontime_flag 1, voiceEnable 1,
                                             // drivingSecurity 60, parkingSecurity 20
    "01000000 b0000000 b80b0000 01000000"    // 224 SaveDuration 1, MemConfig 176,
                                             // BrightnessFixed 3000, DayTime 1
    "00000000 00000000 00000000 00000000"    // 240 NightTime 0, Brightness1 kept, ledoff 0,
                                             // Gamma 0
    "5a757661 00000000 00000000 02000000"    // 256 szPlateNumber "Zuva",
                                             // vid_enc_bitrate_R kept, vid_brightness_R 2
    "02000000 02000000 02000000 00000000"    // 272 vid_sharpness_R 2, lcd_autopoweroff 2,
                                             // lcd_brightness 2, lcd_screensaver 0
    "00000000 01000000 62000000 01000000"    // 288 parking_rear_off 0, sd2_mem_always_ratio 1,
                                             // sd2_mem_event_ratio 98, sd2_mem_motion_ratio 1
    "00000000 01000000 00000000 00000000"    // 304 flip_video 0, parking_alarm 1, rear_fps 0,
                                             // motion_zone 0
    "60000000 00000000 01000000 00000000"    // 320 motionBlock_Rear 96, ledoff_rear 0,
                                             // always_mode_recording_time 1, pip_position 0
    "00000000 01000000 00000000 00000000"    // 336 always_motion 0, lcd_brightness_night 1,
                                             // size_rear 0, front_cpl_use 0
    "00000000 5a757661 41000000 00000000"    // 352 rear_cpl_use 0, wifi_ssid "ZuvaA"
    "00000000 34303430 34303430 00000000"    // 368 wifi_password "40404040"
    "00000000 04000000 02000000 00 1e 1e 01" // 384 CableVoltCorr 4, autoFormatAlarm 2,
                                             // ADAS_Car 0, Ldws 30, FCWS 30, FCMD_Enable 1
    "02 02 02 00 01000000 00000000 00000000" // 400 ADAS sensitivities 2, dummy1 kept,
                                             // vide_wdr_enable 1, ParkingMode 0,
                                             // En_SuperNightVision 0
    "00000000"                               // 416 wifi_channel 0
    "00000000 00000000 00000000 00000000"    // 420 dummy00, 19 words of 0
    "00000000 00000000 00000000 00000000"
    "00000000 00000000 00000000 00000000"
    "00000000 00000000 00000000 00000000"
    "00000000 00000000 00000000"
    "01000000"); // 496 debug_mode 1
