#include "CommandOutput.h"
#include "Commands.h"

#include "drivedata/DriveDataDisplay.h"
#include "drivedata/VXLBlackBoxData.h"

#include <QFile>

#include <charconv>
#include <cmath>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

const char* const kExtractUsage =
    "Usage: vexlo-tool extract FILE [--format csv|gpx|json]\n"
    "\n"
    "Prints the drive data stored in a recording's data track.\n"
    "  csv   (default) one row per G-sensor record i of n, with what the player shows at the\n"
    "        position i/n: record,gx,gy,gz,lat,lon,speed,unit,hdop,satellites\n"
    "        (lat/lon in signed decimal degrees, unit km/h or mi/h; position and speed are\n"
    "        empty where the player shows none, hdop and satellites where there is no fix)\n"
    "  gpx   a track with one point per valid fix whose position changed\n"
    "  json  the samples, the GPS blocks and the fixes in full\n"
    "Exit status 1 when the file has no drive data track.\n";

namespace {

// Appends printf-formatted text (numbers in the C locale, as other programs parse them).
template <typename... Args> void appendf(QByteArray& out, const char* pattern, Args... args)
{
    char text[512];
    const int n = std::snprintf(text, sizeof text, pattern, args...);
    if (n > 0)
        out.append(text, std::min(n, int(sizeof text) - 1));
}

// Fixed-point text with the C library's rounding (exact halves to even), much faster than
// printf for the thousands of numbers of a long recording.
void appendFixed(QByteArray& out, double value, int decimals)
{
    char text[400];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (result.ec == std::errc())
        out.append(text, result.ptr - text);
}

void appendInteger(QByteArray& out, long long value)
{
    char text[24];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr - text);
}

QByteArray csv(const VXLBlackBoxData& data)
{
    const QList<VXLGSensor>& samples = data.m_GSensors();
    QByteArray out = "record,gx,gy,gz,lat,lon,speed,unit,hdop,satellites\n";
    out.reserve(out.size() + samples.size() * 72);
    const qsizetype n = samples.size();
    for (qsizetype i = 0; i < n; ++i) {
        const double position = double(i) / double(n);
        const DriveDataDisplayValues v =
            driveDataDisplayValues(samples, data.m_NMEAs(), data.m_vGpsData(), position);
        appendInteger(out, i);
        for (const float g : {v.gSensor.x, v.gSensor.y, v.gSensor.z}) {
            out += ',';
            appendFixed(out, double(g), 2);
        }
        out += ',';
        if (v.hasPosition) {
            appendFixed(out, v.latitude, 6);
            out += ',';
            appendFixed(out, v.longitude, 6);
            out += ',';
            appendInteger(out, v.speed);
            out += v.speedInKilometres ? ",km/h," : ",mi/h,";
        } else {
            out += ",,,,";
        }
        if (v.hasFix) {
            appendFixed(out, v.hdop, 1);
            out += ',';
            appendInteger(out, int(v.satellites));
        } else {
            out += ',';
        }
        out += '\n';
    }
    return out;
}

bool hasTime(const _SYSTEMTIME& t)
{
    return t.wYear != 0 && t.wMonth >= 1 && t.wMonth <= 12 && t.wDay >= 1 && t.wDay <= 31 &&
           t.wHour < 24 && t.wMinute < 60 && t.wSecond < 61 && t.wMilliseconds < 1000;
}

// JSON has no infinity or NaN; a number the receiver text made absurd is written as null.
void appendNumber(QByteArray& out, const char* pattern, double value)
{
    if (std::isfinite(value))
        appendf(out, pattern, value);
    else
        out += "null";
}

QByteArray gpx(const VXLBlackBoxData& data)
{
    QByteArray out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<gpx version=\"1.0\" creator=\"vexlo-tool\" "
                     "xmlns=\"http://www.topografix.com/GPX/1/0\">\n"
                     "<trk><trkseg>\n";
    bool havePoint = false;
    double lastLatitude = 0;
    double lastLongitude = 0;
    for (const VXLGpsData& fix : data.m_NMEAs()) {
        if (!fix.gpsValid)
            continue;
        const double latitude = latitudeDegrees(fix);
        const double longitude = longitudeDegrees(fix);
        // A valid RMC can come before the first GGA of a recording: no position yet.
        if (fix.Latitude == 0 && fix.Longitude == 0)
            continue;
        if (!std::isfinite(latitude) || !std::isfinite(longitude) || std::fabs(latitude) > 90 ||
            std::fabs(longitude) > 180)
            continue;
        if (havePoint && latitude == lastLatitude && longitude == lastLongitude)
            continue;
        havePoint = true;
        lastLatitude = latitude;
        lastLongitude = longitude;
        appendf(out, "<trkpt lat=\"%.6f\" lon=\"%.6f\">", latitude, longitude);
        const _SYSTEMTIME& t = fix.Now;
        if (hasTime(t))
            appendf(out, "<time>%04u-%02u-%02uT%02u:%02u:%02u.%03uZ</time>", unsigned(t.wYear),
                    unsigned(t.wMonth), unsigned(t.wDay), unsigned(t.wHour), unsigned(t.wMinute),
                    unsigned(t.wSecond), unsigned(t.wMilliseconds));
        if (std::isfinite(fix.SpeedOverGround))
            appendf(out, "<speed>%.3f</speed>", fix.SpeedOverGround * 1852.0 / 3600.0); // m/s
        out += "</trkpt>\n";
    }
    out += "</trkseg></trk>\n</gpx>\n";
    return out;
}

QByteArray json(const VXLBlackBoxData& data)
{
    QByteArray out = "{\n\"gsensors\": [";
    const char* separator = "\n";
    for (const VXLGSensor& s : data.m_GSensors()) {
        appendf(out, "%s{\"x\": %.8g, \"y\": %.8g, \"z\": %.8g}", separator, double(s.x),
                double(s.y), double(s.z));
        separator = ",\n";
    }
    // The blocks as hex: byte 0 is the unit marker, the text has zeros where sentences ended.
    out += "],\n\"gpsBlocks\": [";
    separator = "\n";
    for (const VXLAviGpsData& block : data.m_vGpsData()) {
        const QByteArray bytes(reinterpret_cast<const char*>(&block.data), VXLAviGpsData::kSize);
        out += separator;
        out += "{\"unit\": ";
        appendf(out, "%u", unsigned(static_cast<unsigned char>(block.data.unit)));
        out += ", \"data\": \"" + bytes.toHex() + "\"}";
        separator = ",\n";
    }
    out += "],\n\"fixes\": [";
    separator = "\n";
    for (const VXLGpsData& f : data.m_NMEAs()) {
        const _SYSTEMTIME& t = f.Now;
        appendf(out,
                "%s{\"now\": [%u, %u, %u, %u, %u, %u, %u, %u], \"gpsValid\": %u, "
                "\"latitude\": ",
                separator, unsigned(t.wYear), unsigned(t.wMonth), unsigned(t.wDayOfWeek),
                unsigned(t.wDay), unsigned(t.wHour), unsigned(t.wMinute), unsigned(t.wSecond),
                unsigned(t.wMilliseconds), unsigned(f.gpsValid));
        appendNumber(out, "%.9g", f.Latitude);
        appendf(out, ", \"NS\": %u, \"longitude\": ", unsigned(static_cast<unsigned char>(f.NS)));
        appendNumber(out, "%.9g", f.Longitude);
        appendf(out,
                ", \"EW\": %u, \"speedOverGround\": ", unsigned(static_cast<unsigned char>(f.EW)));
        appendNumber(out, "%.9g", f.SpeedOverGround);
        out += ", \"courseOverGround\": ";
        appendNumber(out, "%.9g", f.CourseOverGround);
        out += ", \"HDOP\": ";
        appendNumber(out, "%.9g", f.HDOP);
        appendf(out,
                ", \"satelliteUsedCount\": %u, \"satelliteUsedCountGPS\": %u, "
                "\"satelliteUsedCountGLONASS\": %u, \"satelliteUsed\": [",
                unsigned(f.SatelliteUsedCount), unsigned(f.SatelliteUsedCount_GPS),
                unsigned(f.SatelliteUsedCount_GLONASS));
        for (int j = 0; j < 12; ++j)
            appendf(out, j ? ", %u" : "%u", unsigned(f.SatelliteUsed[j]));
        appendf(out, "], \"enableGNGNS\": %u, \"enableGNGSA\": %u, \"cntGNGSA\": %u}",
                unsigned(f.Enable_GNGNS), unsigned(f.Enable_GNGSA), unsigned(f.Cnt_GNGSA));
        separator = ",\n";
    }
    out += "]\n}\n";
    return out;
}

bool isReadableFile(const QByteArray& path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat status;
    const bool regular = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
    ::close(fd);
    return regular;
}

} // namespace

int runExtractCommand(const QStringList& args)
{
    QString file;
    QString format = QStringLiteral("csv");
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == u"--format" && i + 1 < args.size()) {
            format = args[++i];
        } else if (args[i].startsWith(u"--format=")) {
            format = args[i].mid(9);
        } else if (file.isEmpty() && !args[i].startsWith(u"--")) {
            file = args[i];
        } else {
            return CommandOutput::usageError(
                "extract", QStringLiteral("unexpected argument \"%1\"").arg(args[i]));
        }
    }
    if (file.isEmpty()) {
        return CommandOutput::usageError("extract", QStringLiteral("expected one recording"));
    }
    if (format != u"csv" && format != u"gpx" && format != u"json") {
        CommandOutput::writeError(
            QStringLiteral("extract: unknown format \"%1\" (csv, gpx or json)").arg(format));
        return 2;
    }
    const QByteArray path = QFile::encodeName(file);
    if (!isReadableFile(path)) {
        CommandOutput::writeError(QStringLiteral("extract: cannot read %1").arg(file));
        return 2;
    }

    VXLBlackBoxData data;
    if (!data.ExtractStreamInformation(path.constData())) {
        CommandOutput::writeError(QStringLiteral("no drive data track"));
        return 1;
    }
    if (format == u"gpx")
        CommandOutput::writeOut(gpx(data));
    else if (format == u"json")
        CommandOutput::writeOut(json(data));
    else
        CommandOutput::writeOut(csv(data));
    return 0;
}
