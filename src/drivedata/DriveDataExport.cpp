#include "DriveDataExport.h"

#include "DriveDataDisplay.h"
#include "VXLBlackBoxData.h"

#include <QByteArray>
#include <QIODevice>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

// Collects text and hands it to the device a block at a time: a write per block, not per
// number, and never more than a block in memory.
class BlockWriter
{
public:
    explicit BlockWriter(QIODevice& out) : m_out(out) { m_block.reserve(kBlockSize + 1024); }

    void append(const char* text, qsizetype size) { m_block.append(text, size); }
    void append(const char* text) { m_block.append(text); }
    void append(char c) { m_block.append(c); }
    void append(const QByteArray& text) { m_block.append(text); }

    // printf-formatted text.
    template <typename... Args> void appendf(const char* pattern, Args... args)
    {
        char text[512];
        const int n = std::snprintf(text, sizeof text, pattern, args...);
        if (n > 0)
            m_block.append(text, std::min(n, int(sizeof text) - 1));
    }

    // Fixed-point text with the C library's rounding (exact halves to even), much faster than
    // printf for the thousands of numbers of a long recording.
    void appendFixed(double value, int decimals)
    {
        char text[400];
        const auto result =
            std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
        if (result.ec == std::errc())
            m_block.append(text, result.ptr - text);
    }

    void appendInteger(long long value)
    {
        char text[24];
        const auto result = std::to_chars(text, text + sizeof text, value);
        m_block.append(text, result.ptr - text);
    }

    // JSON has no infinity or NaN; a number the receiver text made absurd is written as null.
    void appendJsonNumber(const char* pattern, double value)
    {
        if (std::isfinite(value))
            appendf(pattern, value);
        else
            append("null");
    }

    // Hands the block on once it is full; false once the device has refused a write.
    bool flushIfFull() { return m_block.size() < kBlockSize || flush(); }

    bool flush()
    {
        if (m_failed)
            return false;
        if (!m_block.isEmpty() && m_out.write(m_block) != m_block.size())
            m_failed = true;
        m_block.clear();
        return !m_failed;
    }

private:
    static constexpr qsizetype kBlockSize = 64 * 1024;

    QIODevice& m_out;
    QByteArray m_block;
    bool m_failed = false;
};

bool hasTime(const _SYSTEMTIME& t)
{
    return t.wYear != 0 && t.wMonth >= 1 && t.wMonth <= 12 && t.wDay >= 1 && t.wDay <= 31 &&
           t.wHour < 24 && t.wMinute < 60 && t.wSecond < 61 && t.wMilliseconds < 1000;
}

} // namespace

bool writeDriveDataCsv(const VXLBlackBoxData& data, QIODevice& out)
{
    BlockWriter text(out);
    text.append("record,gx,gy,gz,lat,lon,speed,unit,hdop,satellites\n");
    const QList<VXLGSensor>& samples = data.m_GSensors();
    const qsizetype n = samples.size();
    for (qsizetype i = 0; i < n; ++i) {
        const double position = double(i) / double(n);
        const DriveDataDisplayValues v =
            driveDataDisplayValues(samples, data.m_NMEAs(), data.m_vGpsData(), position);
        text.appendInteger(i);
        for (const float g : {v.gSensor.x, v.gSensor.y, v.gSensor.z}) {
            text.append(',');
            text.appendFixed(double(g), 2);
        }
        text.append(',');
        if (v.hasPosition) {
            text.appendFixed(v.latitude, 6);
            text.append(',');
            text.appendFixed(v.longitude, 6);
            text.append(',');
            text.appendInteger(v.speed);
            text.append(v.speedInKilometres ? ",km/h," : ",mi/h,");
        } else {
            text.append(",,,,");
        }
        if (v.hasFix) {
            text.appendFixed(v.hdop, 1);
            text.append(',');
            text.appendInteger(int(v.satellites));
        } else {
            text.append(',');
        }
        text.append('\n');
        if (!text.flushIfFull())
            return false;
    }
    return text.flush();
}

bool writeDriveDataGpx(const VXLBlackBoxData& data, QIODevice& out)
{
    BlockWriter text(out);
    text.append("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                "<gpx version=\"1.0\" creator=\"vexlo-tool\" "
                "xmlns=\"http://www.topografix.com/GPX/1/0\">\n"
                "<trk><trkseg>\n");
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
        text.appendf("<trkpt lat=\"%.6f\" lon=\"%.6f\">", latitude, longitude);
        const _SYSTEMTIME& t = fix.Now;
        if (hasTime(t))
            text.appendf("<time>%04u-%02u-%02uT%02u:%02u:%02u.%03uZ</time>", unsigned(t.wYear),
                         unsigned(t.wMonth), unsigned(t.wDay), unsigned(t.wHour),
                         unsigned(t.wMinute), unsigned(t.wSecond), unsigned(t.wMilliseconds));
        if (std::isfinite(fix.SpeedOverGround))
            text.appendf("<speed>%.3f</speed>", fix.SpeedOverGround * 1852.0 / 3600.0); // m/s
        text.append("</trkpt>\n");
        if (!text.flushIfFull())
            return false;
    }
    text.append("</trkseg></trk>\n</gpx>\n");
    return text.flush();
}

bool writeDriveDataJson(const VXLBlackBoxData& data, QIODevice& out)
{
    BlockWriter text(out);
    text.append("{\n\"gsensors\": [");
    const char* separator = "\n";
    for (const VXLGSensor& s : data.m_GSensors()) {
        text.appendf("%s{\"x\": %.8g, \"y\": %.8g, \"z\": %.8g}", separator, double(s.x),
                     double(s.y), double(s.z));
        separator = ",\n";
        if (!text.flushIfFull())
            return false;
    }
    // The blocks as hex: byte 0 is the unit marker, the text has zeros where sentences ended.
    text.append("],\n\"gpsBlocks\": [");
    separator = "\n";
    for (const VXLAviGpsData& block : data.m_vGpsData()) {
        const auto bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(&block.data),
                                                   VXLAviGpsData::kSize);
        text.append(separator);
        text.append("{\"unit\": ");
        text.appendf("%u", unsigned(static_cast<unsigned char>(block.data.unit)));
        text.append(", \"data\": \"");
        text.append(bytes.toHex());
        text.append("\"}");
        separator = ",\n";
        if (!text.flushIfFull())
            return false;
    }
    text.append("],\n\"fixes\": [");
    separator = "\n";
    for (const VXLGpsData& f : data.m_NMEAs()) {
        const _SYSTEMTIME& t = f.Now;
        text.appendf("%s{\"now\": [%u, %u, %u, %u, %u, %u, %u, %u], \"gpsValid\": %u, "
                     "\"latitude\": ",
                     separator, unsigned(t.wYear), unsigned(t.wMonth), unsigned(t.wDayOfWeek),
                     unsigned(t.wDay), unsigned(t.wHour), unsigned(t.wMinute), unsigned(t.wSecond),
                     unsigned(t.wMilliseconds), unsigned(f.gpsValid));
        text.appendJsonNumber("%.9g", f.Latitude);
        text.appendf(", \"NS\": %u, \"longitude\": ", unsigned(static_cast<unsigned char>(f.NS)));
        text.appendJsonNumber("%.9g", f.Longitude);
        text.appendf(", \"EW\": %u, \"speedOverGround\": ",
                     unsigned(static_cast<unsigned char>(f.EW)));
        text.appendJsonNumber("%.9g", f.SpeedOverGround);
        text.append(", \"courseOverGround\": ");
        text.appendJsonNumber("%.9g", f.CourseOverGround);
        text.append(", \"HDOP\": ");
        text.appendJsonNumber("%.9g", f.HDOP);
        text.appendf(", \"satelliteUsedCount\": %u, \"satelliteUsedCountGPS\": %u, "
                     "\"satelliteUsedCountGLONASS\": %u, \"satelliteUsed\": [",
                     unsigned(f.SatelliteUsedCount), unsigned(f.SatelliteUsedCount_GPS),
                     unsigned(f.SatelliteUsedCount_GLONASS));
        for (int j = 0; j < 12; ++j)
            text.appendf(j ? ", %u" : "%u", unsigned(f.SatelliteUsed[j]));
        text.appendf("], \"enableGNGNS\": %u, \"enableGNGSA\": %u, \"cntGNGSA\": %u}",
                     unsigned(f.Enable_GNGNS), unsigned(f.Enable_GNGSA), unsigned(f.Cnt_GNGSA));
        separator = ",\n";
        if (!text.flushIfFull())
            return false;
    }
    text.append("]\n}\n");
    return text.flush();
}
