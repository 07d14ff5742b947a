#include "samplecard/DriveRecordLog.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <functional>

namespace samplecard {

namespace {

constexpr int kHeaderSize = 12;
constexpr int kFlashRecordSize = 40;
constexpr int kObdRecordSize = 68;
constexpr double kOdometerStartMetres = 12345600; // the car's distance before the card

void put8(QByteArray& b, int at, int value)
{
    b[at] = char(quint8(value));
}

void put16(QByteArray& b, int at, int value)
{
    qToLittleEndian<quint16>(quint16(value), b.data() + at);
}

void put32(QByteArray& b, int at, qint64 value)
{
    qToLittleEndian<quint32>(quint32(value), b.data() + at);
}

int clamp16(qint64 value)
{
    return int(std::clamp<qint64>(value, -32768, 32767));
}

// ddmm (or dddmm) and the four decimal digits of the minutes; the file keeps no hemisphere.
struct StoredAngle
{
    int degreesMinutes = 0;
    int minuteDecimals = 0;
};

StoredAngle storedAngle(double degrees)
{
    const double magnitude = std::fabs(degrees);
    int whole = int(magnitude);
    qint64 tenThousandths = std::llround((magnitude - whole) * 60.0 * 10000.0);
    if (tenThousandths >= 600000) {
        ++whole;
        tenThousandths -= 600000;
    }
    return {whole * 100 + int(tenThousandths / 10000), int(tenThousandths % 10000)};
}

// What both logs share about one logged moment.
struct Moment
{
    const DriveState* state;
    const LoggedDrive* drive;
    QDateTime local;
    double odometerMetres;
    double maximumSpeed; // metres per second, of the trip so far
    bool event;          // from the hard braking of an event on
    int index;           // 0-based over the whole log
};

// Every logged moment of the drives in order, two a second.
void forEachMoment(const QList<LoggedDrive>& drives, const std::function<void(const Moment&)>& use)
{
    const int step = 10 / kLoggedRecordsPerSecond;
    double travelledBefore = 0;
    double maximum = 0;
    int index = 0;
    for (const LoggedDrive& drive : drives) {
        if (drive.states.isEmpty())
            continue;
        const double start = drive.states.first().distance;
        if (drive.parked)
            maximum = 0; // a new trip
        bool event = false;
        for (qsizetype i = 0; i < drive.states.size(); ++i) {
            const DriveState& state = drive.states[i];
            maximum = std::max(maximum, state.speed);
            event = event || (drive.event && state.acceleration < -3.0);
            if (i % step != 0)
                continue;
            const QDateTime local = QDateTime(state.time.date(), state.time.time(), Qt::UTC)
                                        .addSecs(3600 * drive.utcOffsetHours);
            use(Moment{&state, &drive, local,
                       kOdometerStartMetres + travelledBefore + state.distance - start, maximum,
                       event, index++});
        }
        travelledBefore += drive.states.last().distance - start;
    }
}

QByteArray header(int count)
{
    QByteArray b(kHeaderSize, '\0');
    put32(b, 0, count);
    return b;
}

void putTime(QByteArray& b, int dateAt, int timeAt, const QDateTime& local)
{
    put8(b, dateAt, local.date().year() - 1900);
    put8(b, dateAt + 1, local.date().month());
    put8(b, dateAt + 2, local.date().day());
    put8(b, timeAt, local.time().hour());
    put8(b, timeAt + 1, local.time().minute());
    put8(b, timeAt + 2, local.time().second());
}

void putPosition(QByteArray& b, int at, const DriveState& state)
{
    if (!state.fixValid)
        return; // no fix: 0/0
    const StoredAngle latitude = storedAngle(state.latitude);
    const StoredAngle longitude = storedAngle(state.longitude);
    put16(b, at, latitude.degreesMinutes);
    put16(b, at + 2, latitude.minuteDecimals);
    put16(b, at + 4, longitude.degreesMinutes);
    put16(b, at + 6, longitude.minuteDecimals);
}

int kmh(double metresPerSecond)
{
    return int(std::lround(metresPerSecond * 3.6));
}

} // namespace

QByteArray flashDataLog(const QList<LoggedDrive>& drives)
{
    QByteArray records;
    int count = 0;
    forEachMoment(drives, [&](const Moment& m) {
        const DriveState& s = *m.state;
        QByteArray b(kFlashRecordSize, '\0');
        put16(b, 0, m.index + 1);
        put8(b, 2, m.local.date().dayOfWeek() % 7); // Sunday 0
        // "A" with a fix, "V" without; "F" once an event's hard braking has begun.
        put8(b, 3, !s.fixValid ? 0 : m.event ? 2 : 1);
        putTime(b, 4, 7, m.local);
        putPosition(b, 10, s);
        put16(b, 18, kmh(s.speed));
        put32(b, 20, qint64(m.odometerMetres / 100)); // tenths of a kilometre
        put16(b, 28, kmh(m.maximumSpeed));
        put16(b, 32, clamp16(s.x));
        put16(b, 34, clamp16(s.y));
        put16(b, 36, clamp16(s.z));
        // Tenths of a volt: charging while the engine runs, the battery alone when parked.
        put16(b, 38, m.drive->parked ? 124 - (m.index / 9) % 2 : 140 + (m.index / 7) % 3);
        records += b;
        ++count;
    });
    return header(count) + records;
}

QByteArray obdDriveInfoLog(const QList<LoggedDrive>& drives)
{
    QByteArray records;
    int count = 0;
    forEachMoment(drives, [&](const Moment& m) {
        const DriveState& s = *m.state;
        const bool parked = m.drive->parked;
        const int speed = kmh(s.speed);
        QByteArray b(kObdRecordSize, '\0');
        put32(b, 0, m.index + 1);
        putTime(b, 5, 8, m.local);
        put8(b, 11, m.local.date().dayOfWeek() % 7);
        putPosition(b, 12, s);
        // GPS speed: off by one now and then while moving; none without a fix.
        put16(b, 20, !s.fixValid ? -1 : speed + (speed > 0 && m.index % 3 == 0 ? 1 : 0));
        put16(b, 24, speed);
        put16(b, 26, parked ? 0 : 750 + speed * 32); // engine speed
        put32(b, 28, qint64(m.odometerMetres));      // thousandths of a kilometre
        put16(b, 32, parked ? 12380 : 14120 + (m.index % 5) * 10);
        const int pedal = s.acceleration > 0 ? std::min(100, int(s.acceleration * 30)) : 0;
        put16(b, 34, parked ? -1 : pedal);                               // acp
        put16(b, 36, s.acceleration < -0.5 ? 1 : 0);                     // fbk
        put16(b, 38, s.lateral > 0.05 ? 1 : 0);                          // rll
        put16(b, 40, s.lateral < -0.05 ? 1 : 0);                         // lll
        put16(b, 42, parked ? 9999 : int(std::lround(s.lateral * 400))); // swa
        put16(b, 44, parked ? 0 : 1);                                    // sbt
        put16(b, 46, parked ? 0 : std::clamp(speed / 15 + 1, 1, 6));     // gel
        put16(b, 48, parked ? 1 : 4);                                    // gep: P or D
        put16(b, 50, parked ? 1 : 0);                                    // sbk
        put16(b, 52, parked ? -1 : pedal / 2 + 12);                      // tpa
        put16(b, 54, parked ? 9999 : 2150 + (m.index / 20) % 4 * 5);     // abt
        put16(b, 60, clamp16(s.x));
        put16(b, 62, clamp16(s.y));
        put16(b, 64, clamp16(s.z));
        records += b;
        ++count;
    });
    return header(count) + records;
}

} // namespace samplecard
