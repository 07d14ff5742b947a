#pragma once

class QIODevice;
class VXLBlackBoxData;

// The drive data of one recording as text for other programs, shared by vexlo-tool and the
// windows' exports. Numbers are written in the C locale, as other programs parse them.
//
// Each writer streams to `out` in blocks of some kilobytes, so a recording of a million
// records never stands in memory as text, and stops at the first write the device refuses:
// false then, and the device's errorString() says why.

// One row per G-sensor record i of n, with what the player shows at the position i/n:
// record,gx,gy,gz,lat,lon,speed,unit,hdop,satellites.
bool writeDriveDataCsv(const VXLBlackBoxData& data, QIODevice& out);

// A GPX 1.0 track with one point per valid fix whose position changed, with its time and
// speed.
bool writeDriveDataGpx(const VXLBlackBoxData& data, QIODevice& out);

// The samples, the GPS blocks (as hex) and the fixes in full, as one JSON object.
bool writeDriveDataJson(const VXLBlackBoxData& data, QIODevice& out);
