#include "settings/FileData.h"
#include "settings/FileDataFields.h"

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

qint64 number(const _FILEDATA& record, const char* name)
{
    const FileDataField* field = findFileDataField(QString::fromLatin1(name));
    EXPECT_NE(field, nullptr) << name;
    return field ? fileDataNumber(record, *field) : -1;
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

TEST(FileData, FactoryValuesAndKeptFields)
{
    // A record read from a card: every byte 0x5A, so kept fields are recognisable.
    _FILEDATA record;
    std::memset(&record, 0x5A, sizeof record);
    initDefaultFileData(&record);

    // Factory values; then the kept fields, which keep the card's bytes.
    const QString factory = QStringLiteral(
        "cfg_ver=22310 disp_segment_mode=1 sd_mem_always_ratio=70 sd_mem_event_ratio=10 "
        "sd_mem_motion_ratio=20 sd_mem_always_reserved=12100 sd_mem_event_reserved=0 "
        "sd_mem_motion_reserved=0 aud_enable=3 aud_codec_type=0 aud_sampling_freq=1 "
        "aud_bitrate=1 aud_input_vol=3 aud_output_vol=2 vid_enc_res=0 vid_framerate=0 "
        "vid_brightness=2 vid_contrast=2 vid_saturation=128 vid_sharpness=2 vid_hue=2 "
        "gsen_x_threshold=50 gsen_y_threshold=45 gsen_z_threshold=45 always_mode_timeout=10 "
        "parkmode_x_threshold=8 parkmode_y_threshold=8 parkmode_z_threshold=8 "
        "motion1080pCValue=3 motion720pCValue=3 motionBlock=96 high_temp_threshold=97 "
        "high_temp_duration=3600 safe_temp_threshold=92 safe_temp_duration=60 composite_mode=0 "
        "osd_option=0 osd_speed_flag=1 osd_plate_flag=0 plate_number=0 speed_disp_unit=1 "
        "nodriving_day=0 auto_drive_in_mode_on=1 auto_park_in_mode_on=1 motion_detect_mode_on=1 "
        "event_only_mode_on=0 g_sensor_enable=1 audio_mux_enable=1 safe_temp_mode_on=1 "
        "alarm_ontime_flag=1 voiceEnable=1 drivingSecurity=60 parkingSecurity=20 SaveDuration=1 "
        "MemConfig=176 BrightnessFixed=3000 DayTime=1 NightTime=0 ledoff=0 Gamma=0 "
        "vid_brightness_R=2 vid_sharpness_R=2 lcd_autopoweroff=2 lcd_brightness=2 "
        "lcd_screensaver=0 parking_rear_off=0 sd2_mem_always_ratio=1 sd2_mem_event_ratio=98 "
        "sd2_mem_motion_ratio=1 flip_video=0 parking_alarm=1 rear_fps=0 motion_zone=0 "
        "motionBlock_Rear=96 ledoff_rear=0 always_mode_recording_time=1 pip_position=0 "
        "always_motion=0 lcd_brightness_night=1 size_rear=0 front_cpl_use=0 rear_cpl_use=0 "
        "CableVoltCorr=4 autoFormatAlarm=2 ADAS_Car=0 ADAS_Ldws_Speed=30 ADAS_FCWS_Speed=30 "
        "ADAS_FCMD_Enable=1 ADAS_LDWS_Sens=2 ADAS_FCWS_Sens=2 ADAS_FCMD_Sens=2 vide_wdr_enable=1 "
        "ParkingMode=0 En_SuperNightVision=0 wifi_channel=0 debug_mode=1 "
        "checksum=23130 vid_enc_bitrate=1515870810 vid_enc_bitrate_R=1515870810 "
        "time_gmt=1515870810 summer_time=1515870810 Brightness1=1515870810 dummy1=90");
    for (const QString& entry : factory.split(u' ')) {
        const QStringList nameValue = entry.split(u'=');
        ASSERT_EQ(nameValue.size(), 2) << entry.toStdString();
        EXPECT_EQ(number(record, qPrintable(nameValue[0])), nameValue[1].toLongLong())
            << entry.toStdString();
    }

    // Texts are padded with zero bytes to the full width of their arrays.
    EXPECT_EQ(QByteArray(record.szPlateNumber, 8), QByteArray("Zuva\0\0\0\0", 8));
    EXPECT_EQ(QByteArray(record.wifi_ssid, 16), QByteArray("ZuvaA").leftJustified(16, '\0'));
    EXPECT_EQ(QByteArray(record.wifi_password, 16), QByteArray("40404040").leftJustified(16, '\0'));
    for (uint32_t word : record.dummy00)
        EXPECT_EQ(word, 0u);
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

    // osd_plate_flag follows the car number on every save, whatever it held before.
    for (const auto& [plate, previousFlag, expectedFlag] :
         {std::tuple{"", 1, 0}, std::tuple{"A", 0, 1}, std::tuple{"12345678", 7, 1}}) {
        _FILEDATA saved{};
        std::memcpy(saved.szPlateNumber, plate, std::strlen(plate));
        saved.osd_plate_flag = previousFlag;
        completeFileDataForSave(&saved);
        EXPECT_EQ(saved.osd_plate_flag, expectedFlag) << plate;
        EXPECT_EQ(saved.checksum, fileDataChecksum(saved));
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
