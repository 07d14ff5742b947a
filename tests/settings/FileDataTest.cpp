#include "settings/FileData.h"
#include "settings/FileDataFields.h"

#include "FactoryConfigBytes.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cstring>

#include <sys/stat.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(FileData, StoredBytesAreLittleEndianAtTheRecordOffsets)
{
    _FILEDATA record{};
    record.cfg_ver = 0x5726;
    record.checksum = 0xBEEF;
    record.gsen_x_threshold = -2;
    std::memcpy(record.szPlateNumber, "12345678", 8); // full width, no terminator
    record.ADAS_Car = 0x11;
    record.dummy1 = 0x88;
    record.dummy00[18] = 0x01020304;
    record.debug_mode = 0xA1B2C3D4;

    const QByteArray bytes = fileDataToBytes(record);
    ASSERT_EQ(bytes.size(), 500);
    EXPECT_EQ(bytes.mid(0, 4), QByteArray::fromHex("2657efbe"));
    EXPECT_EQ(bytes.mid(88, 4), QByteArray::fromHex("feffffff"));
    EXPECT_EQ(bytes.mid(256, 8), QByteArray("12345678"));
    EXPECT_EQ(bytes.at(396), '\x11');
    EXPECT_EQ(bytes.at(403), '\x88');
    EXPECT_EQ(bytes.mid(492, 4), QByteArray::fromHex("04030201"));
    EXPECT_EQ(bytes.mid(496, 4), QByteArray::fromHex("d4c3b2a1"));

    const FileDataField* plate = findFileDataField(u"szPlateNumber");
    ASSERT_NE(plate, nullptr);
    EXPECT_EQ(fileDataText(record, *plate), QByteArray("12345678"));

    // Every byte of a file survives a read and a write, whatever it holds.
    QByteArray arbitrary(500, '\0');
    for (int i = 0; i < arbitrary.size(); ++i)
        arbitrary[i] = char((i * 37 + 11) & 0xFF);
    _FILEDATA parsed{};
    ASSERT_TRUE(fileDataFromBytes(arbitrary, &parsed));
    EXPECT_EQ(fileDataToBytes(parsed), arbitrary);
    EXPECT_FALSE(fileDataFromBytes(arbitrary.left(499), &parsed));
}

TEST(FileData, FactoryRecordByteForByte)
{
    ASSERT_EQ(kFactoryConfigBin.size(), 500);

    // The file the format window and vexlo-tool write.
    TempDir card;
    const QString path = card.filePath("config.bin");
    ASSERT_TRUE(writeDefaultFileData(path).isEmpty());
    EXPECT_EQ(readAll(path).toHex(' '), kFactoryConfigBin.toHex(' '));

    // On a record read from a card (every byte 0x5A) the kept fields keep the card's bytes.
    _FILEDATA record;
    std::memset(&record, 0x5A, sizeof record);
    initDefaultFileData(&record);
    QByteArray expected = kFactoryConfigBin;
    const std::pair<int, int> kept[] = {
        {2, 2},   // checksum
        {60, 4},  // vid_enc_bitrate
        {168, 8}, // time_gmt, summer_time
        {244, 4}, // Brightness1
        {264, 4}, // vid_enc_bitrate_R
        {403, 1}, // dummy1
    };
    for (const auto& [offset, size] : kept)
        expected.replace(offset, size, QByteArray(size, '\x5A'));
    EXPECT_EQ(fileDataToBytes(record).toHex(' '), expected.toHex(' '));
}

// Every field at the offset the camera reads it from, in file order; neighbours of equal
// factory value would trade places unseen by the factory bytes.
TEST(FileData, FieldsSitAtTheCamerasOffsets)
{
    const QString layout = QStringLiteral(
        "0 cfg_ver 2 checksum 4 disp_segment_mode 8 sd_mem_always_ratio 12 sd_mem_event_ratio "
        "16 sd_mem_motion_ratio 20 sd_mem_always_reserved 24 sd_mem_event_reserved "
        "28 sd_mem_motion_reserved 32 aud_enable 36 aud_codec_type 40 aud_sampling_freq "
        "44 aud_bitrate 48 aud_input_vol 52 aud_output_vol 56 vid_enc_res 60 vid_enc_bitrate "
        "64 vid_framerate 68 vid_brightness 72 vid_contrast 76 vid_saturation 80 vid_sharpness "
        "84 vid_hue 88 gsen_x_threshold 92 gsen_y_threshold 96 gsen_z_threshold "
        "100 always_mode_timeout 104 parkmode_x_threshold 108 parkmode_y_threshold "
        "112 parkmode_z_threshold 116 motion1080pCValue 120 motion720pCValue 124 motionBlock "
        "128 high_temp_threshold 132 high_temp_duration 136 safe_temp_threshold "
        "140 safe_temp_duration 144 composite_mode 148 osd_option 152 osd_speed_flag "
        "156 osd_plate_flag 160 plate_number 164 speed_disp_unit 168 time_gmt 172 summer_time "
        "176 nodriving_day 180 auto_drive_in_mode_on 184 auto_park_in_mode_on "
        "188 motion_detect_mode_on 192 event_only_mode_on 196 g_sensor_enable "
        "200 audio_mux_enable 204 safe_temp_mode_on 208 alarm_ontime_flag 212 voiceEnable "
        "216 drivingSecurity 220 parkingSecurity 224 SaveDuration 228 MemConfig "
        "232 BrightnessFixed 236 DayTime 240 NightTime 244 Brightness1 248 ledoff 252 Gamma "
        "256 szPlateNumber 264 vid_enc_bitrate_R 268 vid_brightness_R 272 vid_sharpness_R "
        "276 lcd_autopoweroff 280 lcd_brightness 284 lcd_screensaver 288 parking_rear_off "
        "292 sd2_mem_always_ratio 296 sd2_mem_event_ratio 300 sd2_mem_motion_ratio "
        "304 flip_video 308 parking_alarm 312 rear_fps 316 motion_zone 320 motionBlock_Rear "
        "324 ledoff_rear 328 always_mode_recording_time 332 pip_position 336 always_motion "
        "340 lcd_brightness_night 344 size_rear 348 front_cpl_use 352 rear_cpl_use "
        "356 wifi_ssid 372 wifi_password 388 CableVoltCorr 392 autoFormatAlarm 396 ADAS_Car "
        "397 ADAS_Ldws_Speed 398 ADAS_FCWS_Speed 399 ADAS_FCMD_Enable 400 ADAS_LDWS_Sens "
        "401 ADAS_FCWS_Sens 402 ADAS_FCMD_Sens 403 dummy1 404 vide_wdr_enable 408 ParkingMode "
        "412 En_SuperNightVision 416 wifi_channel 420 dummy00 496 debug_mode");
    QStringList expected;
    const QStringList words = layout.split(u' ');
    ASSERT_EQ(words.size(), 2 * 107);
    for (qsizetype i = 0; i < words.size(); i += 2)
        expected << words[i] + u' ' + words[i + 1];
    QStringList actual;
    for (const FileDataField& field : fileDataFields())
        actual << QString::number(field.offset) + u' ' + QLatin1StringView(field.name);
    EXPECT_EQ(actual, expected);
}

TEST(FileData, ChecksumAndSaveCompletion)
{
    _FILEDATA record{};
    record.disp_segment_mode = 0x00010002;
    record.sd_mem_always_ratio = 0x00030004;
    EXPECT_EQ(fileDataChecksum(record), 0x0006);
    record.cfg_ver = 0xFFFF;
    record.checksum = 0x1234;
    EXPECT_EQ(fileDataChecksum(record), 0x0006) << "offsets 0 to 3 take no part";
    record.debug_mode = 0x00FF0000; // high halves of the words have no influence
    EXPECT_EQ(fileDataChecksum(record), 0x0006);
    record.dummy1 = 0x01; // the byte at 403 is the high byte of the word at 400
    EXPECT_EQ(fileDataChecksum(record), 0x0006);
    record.ADAS_Car = 0x01;
    EXPECT_EQ(fileDataChecksum(record), 0x0007);

    // osd_plate_flag follows the car number on every save, whatever it held before; the
    // checksum covers both: "A" is the word 0x41, "12345678" the words 0x34333231 and
    // 0x38373635, each XORed with the flag's word.
    for (const auto& [plate, previousFlag, expectedFlag, checksum] :
         {std::tuple{"", 1, 0, 0x0000}, std::tuple{"A", 0, 1, 0x0040},
          std::tuple{"12345678", 7, 1, 0x0405}}) {
        _FILEDATA saved{};
        std::memcpy(saved.szPlateNumber, plate, std::strlen(plate));
        saved.osd_plate_flag = previousFlag;
        saved.checksum = 0xFFFF;
        completeFileDataForSave(&saved);
        EXPECT_EQ(saved.osd_plate_flag, expectedFlag) << plate;
        EXPECT_EQ(saved.checksum, checksum) << plate;
    }
}

TEST(FileData, DefaultFileReadsBackWithValidChecksum)
{
    TempDir card;
    const QString path = card.filePath("config.bin");
    ASSERT_TRUE(writeDefaultFileData(path).isEmpty());
    EXPECT_EQ(QFileInfo(path).size(), 500);

    _FILEDATA record{};
    ASSERT_TRUE(readFileData(path, &record));
    EXPECT_EQ(record.cfg_ver, kFileDataVersion);
    EXPECT_EQ(record.checksum, fileDataChecksum(record));
    EXPECT_EQ(record.osd_plate_flag, 0);
    EXPECT_EQ(QByteArray(record.szPlateNumber), QByteArray("Zuva"));

    // A file too short to be a record, or one that is not a file, leaves the record as it was;
    // the exact reader also refuses a longer file, whose tail a save would cut off.
    const QString fifo = card.filePath("fifo.bin");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QByteArray whole = readAll(path);
    const struct
    {
        QString path;
        bool readable;
        bool exactlyReadable;
        const char* reason;
    } cases[] = {
        {card.write("short.bin", QByteArray(499, '\x01')), false, false, "499 bytes"},
        {card.write("long.bin", whole + 'x'), true, false, "501 bytes"},
        {card.filePath("missing.bin"), false, false, "No such file"},
        {fifo, false, false, "FIFO"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        _FILEDATA untouched = record;
        untouched.ADAS_Car = 7;
        QString reason;
        EXPECT_EQ(readFileData(c.path, &untouched, &reason), c.readable);
        EXPECT_EQ(readExactFileData(c.path, &untouched, &reason), c.exactlyReadable);
        EXPECT_TRUE(reason.contains(QLatin1StringView(c.reason))) << reason.toStdString();
        EXPECT_EQ(untouched.ADAS_Car, c.readable ? record.ADAS_Car : 7);
    }
    ASSERT_TRUE(readExactFileData(path, &record));
}

TEST(FileData, FailedWriteReportsTheKeyAndTheReason)
{
    TempDir card;
    _FILEDATA record{};
    initDefaultFileData(&record);
    // Real refusals: a FIFO is never replaced by a regular file, a missing folder cannot take
    // the file. (Full media and size limits are met in the file writer's own tests.)
    const QString fifo = card.filePath("config.bin");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const auto& [path, problem] :
         {std::pair{fifo, "FIFO"}, {card.write("volume") + "/config.bin", "Not a directory"}}) {
        QString reason;
        EXPECT_EQ(writeFileData(record, path, &reason), QString::fromLatin1(kFileOpenFailKey));
        EXPECT_TRUE(reason.contains(QLatin1StringView(problem))) << reason.toStdString();
        EXPECT_EQ(writeDefaultFileData(path), QString::fromLatin1(kFileOpenFailKey));
    }
    struct stat status;
    ASSERT_EQ(::lstat(QFile::encodeName(fifo).constData(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode)) << "the FIFO is not replaced";

    // A good write replaces the old file whole.
    const QString path = card.write("good.bin", QByteArray(600, '\x7f'));
    ASSERT_TRUE(writeFileData(record, path).isEmpty());
    EXPECT_EQ(readAll(path), fileDataToBytes(record));
}

TEST(FileData, MotionBlocksAndTimeZones)
{
    for (const auto& [block, bit] :
         {std::pair{1, 8}, {4, 11}, {5, 4}, {8, 7}, {9, 0}, {12, 3}, {0, -1}, {13, -1}})
        EXPECT_EQ(motionBlockBit(block), bit) << block;
    for (int block = 1; block <= 12; ++block)
        EXPECT_EQ(isMotionBlockOff(96, block), block == 6 || block == 7) << block;
    EXPECT_EQ(setMotionBlockOff(0xFFFFF000u | 96u, 6, false), 64u) << "bits 12 to 31 stay zero";
    EXPECT_EQ(setMotionBlockOff(0, 1, true), 0x100u);

    for (const auto& [seconds, index] : {std::pair{0, 14},
                                         {5 * 3600 + 30 * 60, 22},
                                         {-(4 * 3600 + 30 * 60), 8},
                                         {5 * 3600 + 45 * 60, 23},
                                         {-12 * 3600, 0},
                                         {13 * 3600, 33},
                                         {-(3 * 3600 + 30 * 60), 10},
                                         {3600 + 15 * 60, -1},
                                         {14 * 3600, -1}})
        EXPECT_EQ(timeZoneIndexForOffset(seconds), index) << seconds;
    EXPECT_EQ(timeZoneLabel(0), QStringLiteral("-12:00"));
    EXPECT_EQ(timeZoneLabel(8), QStringLiteral("-04:30"));
    EXPECT_EQ(timeZoneLabel(23), QStringLiteral("+05:45"));
    EXPECT_EQ(timeZoneLabel(33), QStringLiteral("+13:00"));
    EXPECT_TRUE(timeZoneLabel(34).isEmpty());
}

} // namespace
