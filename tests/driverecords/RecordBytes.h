#pragma once

#include <QByteArray>
#include <QList>
#include <QtEndian>

#include <cstdint>

// Drive-record files byte by byte, at the offsets of the camera's record layouts, written down
// here apart from the program's reader so that a wrong offset there shows.
namespace recordbytes {

inline void put8(QByteArray& bytes, int offset, int value)
{
    bytes[offset] = char(uint8_t(value));
}

inline void put16(QByteArray& bytes, int offset, int value)
{
    qToLittleEndian<uint16_t>(uint16_t(value), bytes.data() + offset);
}

inline void put32(QByteArray& bytes, int offset, int64_t value)
{
    qToLittleEndian<uint32_t>(uint32_t(value), bytes.data() + offset);
}

struct Flash
{
    int seq = 0, weekday = 0, status = 0, year = 123, month = 4, day = 15;
    int hour = 9, minute = 30, second = 12;
    int lat = 0, latDecimals = 0, lon = 0, lonDecimals = 0;
    int speed = 0;
    int64_t distanceTenths = 0;
    int maxSpeed = 0;
    int x = 0, y = 0, z = 0, battery = 0;
};

// 40 bytes; the fields we do not interpret get a pattern, which must not show anywhere.
inline QByteArray flashRecord(const Flash& f)
{
    QByteArray b(40, '\0');
    put16(b, 0, f.seq);
    put8(b, 2, f.weekday);
    put8(b, 3, f.status);
    put8(b, 4, f.year);
    put8(b, 5, f.month);
    put8(b, 6, f.day);
    put8(b, 7, f.hour);
    put8(b, 8, f.minute);
    put8(b, 9, f.second);
    put16(b, 10, f.lat);
    put16(b, 12, f.latDecimals);
    put16(b, 14, f.lon);
    put16(b, 16, f.lonDecimals);
    put16(b, 18, f.speed);
    put32(b, 20, f.distanceTenths);
    put32(b, 24, 0x77777777);
    put16(b, 28, f.maxSpeed);
    put8(b, 30, 0x77);
    put8(b, 31, 0x77);
    put16(b, 32, f.x);
    put16(b, 34, f.y);
    put16(b, 36, f.z);
    put16(b, 38, f.battery);
    return b;
}

struct Obd
{
    int64_t seq = 0;
    int year = 123, month = 4, day = 15, hour = 9, minute = 30, second = 12, weekday = 0;
    int lat = 0, latDecimals = 0, lon = 0, lonDecimals = 0;
    int gpsSpeed = 0, speed = 0, rpm = 0;
    int64_t distance = 0;
    int battery = 0, acp = 0, fbk = 0, rll = 0, lll = 0, swa = 0, sbt = 0, gel = 0, gep = 0,
        sbk = 0, tpa = 0, abt = 0, x = 0, y = 0, z = 0;
};

inline QByteArray obdRecord(const Obd& o)
{
    QByteArray b(68, '\0');
    put32(b, 0, o.seq);
    put8(b, 4, 0x77);
    put8(b, 5, o.year);
    put8(b, 6, o.month);
    put8(b, 7, o.day);
    put8(b, 8, o.hour);
    put8(b, 9, o.minute);
    put8(b, 10, o.second);
    put8(b, 11, o.weekday);
    put16(b, 12, o.lat);
    put16(b, 14, o.latDecimals);
    put16(b, 16, o.lon);
    put16(b, 18, o.lonDecimals);
    put16(b, 20, o.gpsSpeed);
    put8(b, 22, 0x77);
    put8(b, 23, 0x77);
    put16(b, 24, o.speed);
    put16(b, 26, o.rpm);
    put32(b, 28, o.distance);
    put16(b, 32, o.battery);
    put16(b, 34, o.acp);
    put16(b, 36, o.fbk);
    put16(b, 38, o.rll);
    put16(b, 40, o.lll);
    put16(b, 42, o.swa);
    put16(b, 44, o.sbt);
    put16(b, 46, o.gel);
    put16(b, 48, o.gep);
    put16(b, 50, o.sbk);
    put16(b, 52, o.tpa);
    put16(b, 54, o.abt);
    put16(b, 56, 0x7777);
    put16(b, 58, 0x7777);
    put16(b, 60, o.x);
    put16(b, 62, o.y);
    put16(b, 64, o.z);
    put16(b, 66, 0x7777);
    return b;
}

// The header (count, then 8 bytes we do not interpret) and the records as given.
inline QByteArray file(uint32_t count, const QList<QByteArray>& records = {})
{
    QByteArray b(12, '\x55');
    put32(b, 0, count);
    for (const QByteArray& record : records)
        b += record;
    return b;
}

} // namespace recordbytes
