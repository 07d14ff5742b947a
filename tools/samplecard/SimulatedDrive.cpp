#include "samplecard/SimulatedDrive.h"

#include <QString>

#include <cmath>
#include <random>

namespace samplecard {

namespace {

constexpr double kGravity = 9.80665;
constexpr double kMetresPerDegreeLatitude = 110574.0;
constexpr double kMetresPerDegreeLongitudeAtEquator = 111320.0;
constexpr double kKnotsPerMetrePerSecond = 3600.0 / 1852.0;
constexpr double kStep = 1.0 / kRecordsPerSecond;

struct LatLon
{
    double lat;
    double lon;
};

struct RoadData
{
    QList<LatLon> waypoints;
    double altitude;
    double geoidSeparation;
};

// Streets as a car would drive them, a few kilometres long.
RoadData roadData(Road road)
{
    switch (road) {
    case Road::BuenosAiresCentro:
        // Plaza de Mayo west along Avenida de Mayo, then north on 9 de Julio.
        return {{{-34.60830, -58.37210},
                 {-34.60860, -58.37650},
                 {-34.60880, -58.38080},
                 {-34.60900, -58.38150},
                 {-34.60450, -58.38170},
                 {-34.60100, -58.38180},
                 {-34.59620, -58.38240},
                 {-34.59200, -58.38320}},
                25.0,
                14.3};
    case Road::SeoulCityHall:
    default:
        // City Hall north on Sejong-daero to Gwanghwamun, then east along Jong-ro.
        return {{{37.56650, 126.97800},
                 {37.56890, 126.97700},
                 {37.57110, 126.97690},
                 {37.57060, 126.97900},
                 {37.57020, 126.98300},
                 {37.57040, 126.99000},
                 {37.57080, 126.99700},
                 {37.57120, 127.00600}},
                38.0,
                18.4};
    }
}

// The road as a polyline in metres east and north of its first point.
class Polyline
{
public:
    explicit Polyline(const QList<LatLon>& points) : m_origin(points.first())
    {
        m_metresPerDegreeLongitude =
            kMetresPerDegreeLongitudeAtEquator * std::cos(m_origin.lat * M_PI / 180.0);
        double along = 0;
        for (qsizetype i = 0; i < points.size(); ++i) {
            const double east = (points[i].lon - m_origin.lon) * m_metresPerDegreeLongitude;
            const double north = (points[i].lat - m_origin.lat) * kMetresPerDegreeLatitude;
            if (i > 0)
                along += std::hypot(east - m_east.last(), north - m_north.last());
            m_east.append(east);
            m_north.append(north);
            m_along.append(along);
        }
    }

    // Position and heading (degrees clockwise from north) at a distance along the road; past
    // the end the last segment goes on straight.
    void at(double distance, LatLon* position, double* heading) const
    {
        qsizetype i = 0;
        while (i + 2 < m_along.size() && m_along[i + 1] < distance)
            ++i;
        const double dx = m_east[i + 1] - m_east[i];
        const double dy = m_north[i + 1] - m_north[i];
        const double length = m_along[i + 1] - m_along[i];
        const double t = (distance - m_along[i]) / length;
        const double east = m_east[i] + t * dx;
        const double north = m_north[i] + t * dy;
        position->lat = m_origin.lat + north / kMetresPerDegreeLatitude;
        position->lon = m_origin.lon + east / m_metresPerDegreeLongitude;
        *heading = std::fmod(std::atan2(dx, dy) * 180.0 / M_PI + 360.0, 360.0);
    }

private:
    LatLon m_origin;
    double m_metresPerDegreeLongitude = 0;
    QList<double> m_east, m_north, m_along;
};

// Random numbers from the raw Mersenne Twister output, whose sequence the C++ standard fixes,
// so a seed gives the same drive with any standard library.
class Random
{
public:
    explicit Random(quint32 seed) : m_engine(seed) {}

    double uniform() { return double(m_engine() >> 8) / double(1u << 24); }
    double uniform(double low, double high) { return low + (high - low) * uniform(); }
    double gaussian(double sigma)
    {
        const double u = qMax(uniform(), 1e-9);
        return sigma * std::sqrt(-2.0 * std::log(u)) * std::cos(2.0 * M_PI * uniform());
    }

private:
    std::mt19937 m_engine;
};

QByteArray fixed(double value, int decimals)
{
    return QByteArray::number(value, 'f', decimals);
}

QByteArray twoDigits(int value)
{
    return QByteArray::number(value).rightJustified(2, '0');
}

// ddmm.mmmm / dddmm.mmmm and the hemisphere letter.
QByteArray nmeaAngle(double degrees, int degreeDigits, char positive, char negative)
{
    const double magnitude = std::fabs(degrees);
    int whole = int(magnitude);
    double minutes = std::round((magnitude - whole) * 60.0 * 10000.0) / 10000.0;
    if (minutes >= 60.0) {
        ++whole;
        minutes -= 60.0;
    }
    return QByteArray::number(whole).rightJustified(degreeDigits, '0') +
           fixed(minutes, 4).rightJustified(7, '0') + ',' + (degrees < 0 ? negative : positive);
}

struct Second
{
    QDateTime time;
    LatLon position;
    double speed;   // m/s
    double heading; // degrees
    bool valid;
    int gpsSatellites;
    int glonassSatellites;
    double hdop;
};

// GSV sentences for the satellites in view; the first `tracked` have a signal strength.
QList<QByteArray> satellitesInView(const QByteArray& address, const QList<int>& numbers,
                                   int tracked, const QDateTime& time)
{
    const int count = int(numbers.size());
    const int sentenceCount = qMax(1, (count + 3) / 4);
    const int drift = int(time.toSecsSinceEpoch() / 240); // the sky turns slowly
    QList<QByteArray> sentences;
    for (int n = 0; n < sentenceCount; ++n) {
        QByteArray body = address + ',' + QByteArray::number(sentenceCount) + ',' +
                          QByteArray::number(n + 1) + ',' + twoDigits(count);
        for (int i = 4 * n; i < qMin(count, 4 * n + 4); ++i) {
            const int number = numbers[i];
            body += ',' + twoDigits(number) + ',' + twoDigits(10 + (number * 37) % 75) + ',' +
                    QByteArray::number((number * 71 + drift) % 360).rightJustified(3, '0') + ',' +
                    (i < tracked ? twoDigits(25 + (number * 13) % 24) : QByteArray());
        }
        sentences << nmeaSentence(body);
    }
    return sentences;
}

QList<QByteArray> sentencesOf(const Second& s, const RoadData& road, bool withGns)
{
    const QByteArray time = s.time.toString(QStringLiteral("hhmmss.zzz")).toLatin1();
    const QByteArray date = s.time.toString(QStringLiteral("ddMMyy")).toLatin1();
    const QByteArray lat = s.valid ? nmeaAngle(s.position.lat, 2, 'N', 'S') : QByteArray(",");
    const QByteArray lon = s.valid ? nmeaAngle(s.position.lon, 3, 'E', 'W') : QByteArray(",");
    const int used = s.valid ? s.gpsSatellites + s.glonassSatellites : 0;
    const QByteArray hdop = s.valid ? fixed(s.hdop, 2) : QByteArray("99.99");
    const QByteArray altitude =
        s.valid ? fixed(road.altitude, 1) + ",M," + fixed(road.geoidSeparation, 1) + ",M"
                : QByteArray(",,,");

    QList<QByteArray> sentences;
    sentences << nmeaSentence(
        "GNRMC," + time + (s.valid ? ",A," : ",V,") + lat + ',' + lon + ',' +
        (s.valid ? fixed(s.speed * kKnotsPerMetrePerSecond, 3) + ',' + fixed(s.heading, 2)
                 : QByteArray(",")) +
        ',' + date + ",,," + (s.valid ? 'A' : 'N'));
    sentences << nmeaSentence("GNVTG," + (s.valid
                                              ? fixed(s.heading, 2) + ",T,,M," +
                                                    fixed(s.speed * kKnotsPerMetrePerSecond, 3) +
                                                    ",N," + fixed(s.speed * 3.6, 3) + ",K,A"
                                              : QByteArray(",T,,M,,N,,K,N")));
    sentences << nmeaSentence("GNGGA," + time + ',' + lat + ',' + lon + ',' +
                              (s.valid ? "1," : "0,") + twoDigits(used) + ',' + hdop + ',' +
                              altitude + ",,");
    if (withGns)
        sentences << nmeaSentence(
            "GNGNS," + time.left(9) + ',' + lat + ',' + lon + ',' + (s.valid ? "AA," : "NN,") +
            twoDigits(used) + ',' + hdop + ',' +
            (s.valid ? fixed(road.altitude, 1) + ',' + fixed(road.geoidSeparation, 1)
                     : QByteArray(",")) +
            ",,");
    // A receiver tracking two constellations: the GPS sentence first, then GLONASS.
    static const QList<int> gpsNumbers{2, 5, 6, 12, 13, 15, 17, 19, 24, 25, 29, 30};
    static const QList<int> glonassNumbers{65, 66, 67, 72, 73, 74, 80, 81, 82};
    const QByteArray dops = s.valid
                                ? fixed(s.hdop * 1.4, 2) + ',' + hdop + ',' + fixed(s.hdop * 1.1, 2)
                                : QByteArray("99.99,99.99,99.99");
    for (int constellation = 0; constellation < 2; ++constellation) {
        const int count = !s.valid ? 0 : constellation == 0 ? s.gpsSatellites : s.glonassSatellites;
        QByteArray slots;
        for (int j = 0; j < 12; ++j) {
            if (j < count)
                slots += twoDigits(constellation == 0 ? gpsNumbers[j] : glonassNumbers[j]);
            slots += ',';
        }
        sentences << nmeaSentence(QByteArray("GNGSA,A,") + (s.valid ? "3," : "1,") + slots + dops);
    }
    // Satellites in view, four to a sentence; the parser ignores them, but like the real
    // receiver's they fill the records so that there are more sentences than records.
    const int gpsInView = s.valid ? qMin(s.gpsSatellites + 2, int(gpsNumbers.size())) : 0;
    const int glonassInView =
        s.valid ? qBound(5, s.glonassSatellites + 2, int(glonassNumbers.size())) : 0;
    sentences << satellitesInView("GPGSV", gpsNumbers.first(gpsInView), s.gpsSatellites, s.time);
    sentences << satellitesInView("GLGSV", glonassNumbers.first(glonassInView), s.glonassSatellites,
                                  s.time);
    sentences << nmeaSentence("GNGLL," + lat + ',' + lon + ',' + time +
                              (s.valid ? ",A,A" : ",V,N"));
    return sentences;
}

QList<DriveRecord> simulate(const DriveOptions& options, DriveEnd* end,
                            QList<DriveState>* states = nullptr)
{
    const RoadData road = roadData(options.road);
    const Polyline line(road.waypoints);
    Random random(options.seed);

    double distance = options.startDistance;
    const double randomSpeed = random.uniform(9.0, 13.0);
    double speed = options.parked            ? 0.0
                   : options.startSpeed >= 0 ? options.startSpeed
                                             : randomSpeed;
    double targetSpeed = speed;
    double secondsToNewTarget = random.uniform(4, 10);
    double bump = 0; // decaying vertical oscillation after a pothole, in g
    double bumpPhase = 0;
    double previousHeading = -1;
    bool brakingDone = false;
    double lateral = 0; // g, smoothed
    int gpsSatellites = 6 + int(random.uniform() * 4);
    int glonassSatellites = 3 + int(random.uniform() * 4);
    double hdop = random.uniform(0.7, 1.2);

    const int recordCount = options.seconds * kRecordsPerSecond;
    QList<DriveRecord> records(recordCount);
    for (int step = 0; step < recordCount; ++step) {
        const int second = step / kRecordsPerSecond;
        const double t = step * kStep;
        const bool braking =
            options.hardBrakingAtSecond >= 0 && t >= options.hardBrakingAtSecond && !brakingDone;

        // Speed: city traffic drifting between targets; a hard stop for events.
        double acceleration = 0;
        if (!options.parked) {
            if (braking) {
                acceleration = qMax(-random.uniform(6.5, 7.5), -speed / kStep);
                if (speed + acceleration * kStep <= 0) {
                    // Stopped: stand a while, then traffic goes on.
                    brakingDone = true;
                    targetSpeed = 0;
                    secondsToNewTarget = 5;
                }
            } else {
                secondsToNewTarget -= kStep;
                if (secondsToNewTarget <= 0) {
                    // Now and then a red light, otherwise a new cruising speed (about 30-55 km/h).
                    targetSpeed = random.uniform() < 0.2 ? 0.0 : random.uniform(8.0, 15.0);
                    secondsToNewTarget = random.uniform(5, 12);
                }
                const double difference = targetSpeed - speed;
                acceleration = std::clamp(difference, -2.5, 1.6);
            }
            speed = qMax(0.0, speed + acceleration * kStep);
            distance += speed * kStep;
        }

        LatLon position{};
        double heading = 0;
        line.at(distance, &position, &heading);
        double turnRate = 0; // degrees per second, from the change of heading over a step
        if (previousHeading >= 0) {
            double change = heading - previousHeading;
            if (change > 180)
                change -= 360;
            if (change < -180)
                change += 360;
            turnRate = change / kStep;
        }
        previousHeading = heading;

        // Potholes and kerbs: more often the faster the car goes.
        if (random.uniform() < (options.parked ? 0.002 : 0.004 + speed * 0.0006)) {
            bump = random.uniform(0.15, 0.45) * (random.uniform() < 0.5 ? -1 : 1);
            bumpPhase = 0;
        }
        const double bumpNow = bump * std::cos(bumpPhase);
        bump *= 0.6;
        bumpPhase += 2.4;

        const double noise = options.parked ? 0.004 : 0.01 + speed * 0.002;
        // The road turns at its waypoints in one step; a car takes a couple of seconds.
        const double turning = speed * turnRate * M_PI / 180.0 / kGravity;
        lateral += (turning - lateral) * kStep / 2.0;
        const double gx = std::clamp(lateral, -0.45, 0.45) + random.gaussian(noise);
        const double gy = acceleration / kGravity + random.gaussian(noise);
        const double gz = 1.0 + bumpNow + random.gaussian(noise * 1.5);

        DriveRecord& record = records[step];
        const QDateTime time = options.start.addMSecs(qint64(step) * 1000 / kRecordsPerSecond);
        record.timeStamp = quint64(time.toMSecsSinceEpoch());
        record.x = qint32(std::lround(gx * 256));
        record.y = qint32(std::lround(gy * 256));
        record.z = qint32(std::lround(gz * 256));
        record.unitMarker = options.unitMarker;

        const bool lost = options.fixLostFromSecond >= 0 && second >= options.fixLostFromSecond &&
                          second < options.fixLostFromSecond + options.fixLostSeconds;
        if (states)
            states->append(DriveState{time, position.lat, position.lon, speed, distance,
                                      acceleration, lateral, record.x, record.y, record.z, !lost});

        if (step % kRecordsPerSecond == 0) {
            // The constellation changes slowly as buildings come and go.
            if (random.uniform() < 0.15)
                gpsSatellites =
                    std::clamp(gpsSatellites + (random.uniform() < 0.5 ? -1 : 1), 5, 11);
            if (random.uniform() < 0.15)
                glonassSatellites =
                    std::clamp(glonassSatellites + (random.uniform() < 0.5 ? -1 : 1), 2, 8);
            hdop = std::clamp(hdop + random.gaussian(0.05), 0.6, 2.5);
            LatLon reported = position;
            reported.lat += random.gaussian(1.5) / kMetresPerDegreeLatitude;
            reported.lon += random.gaussian(1.5) / kMetresPerDegreeLatitude /
                            std::cos(position.lat * M_PI / 180.0);
            // Receivers report a little noise in speed and course while moving.
            const bool moving = speed > 0.3;
            const double reportedSpeed = moving ? qMax(0.0, speed + random.gaussian(0.08)) : 0.0;
            const double reportedHeading =
                std::fmod(heading + (moving ? random.gaussian(1.0) : 0.0) + 360.0, 360.0);
            const Second fix{time,  reported,      reportedSpeed,     reportedHeading,
                             !lost, gpsSatellites, glonassSatellites, hdop};
            packSentences(records, step, sentencesOf(fix, road, options.withGns));
        }
    }
    if (end)
        *end = DriveEnd{distance, speed};
    return records;
}

} // namespace

QList<DriveRecord> simulateDrive(const DriveOptions& options)
{
    return simulate(options, nullptr);
}

QList<DriveState> simulateDriveStates(const DriveOptions& options)
{
    QList<DriveState> states;
    simulate(options, nullptr, &states);
    return states;
}

DriveEnd endOfDrive(const DriveOptions& options)
{
    DriveEnd end;
    simulate(options, &end);
    return end;
}

} // namespace samplecard
