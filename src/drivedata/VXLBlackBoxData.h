#pragma once

#include "VXLAviGpsData.h"
#include "VXLGSensor.h"
#include "VXLGpsData.h"
#include "VXLNMEASentenceParser.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <cstdint>

class DriveDataSource;

// The drive data that the camera stores in a private track of each recording: one G-sensor
// sample and one GPS block per record, and a snapshot of the running GPS fix after every
// NMEA sentence of those blocks.
//
// Threading: ExtractStreamInformation fills the lists in place and is meant to run on a
// background thread while nobody reads them; read the lists (or copies of them: QList copies
// are cheap) only after it has returned. One object serves one extraction at a time.
class VXLBlackBoxData
{
public:
    // Bytes of a drive record after its 2-byte chunk header.
    static constexpr int kRecordSize = 153;
    static constexpr int kChunkHeaderSize = 2;

    // Clears, then walks the MP4 boxes to the data track's chunk table and reads every
    // record. True when the table was found and walked (the lists may still be empty);
    // false, with empty lists, for no path, an unreadable file or a file of another layout.
    bool ExtractStreamInformation(const char* path);
    bool ExtractStreamInformation(const QString& path);
    // The same on a recording held in memory (tests, fuzzing).
    bool extractFromBytes(QByteArrayView bytes);

    // Clears the parser's running fix and empties the lists.
    void clear();

    // Hands each "$G" sentence of the text to the parser and keeps a snapshot of the fix after
    // each. Sentence ends (CR, LF, 0) are overwritten with 0 in place. False for no text.
    bool ParseNMEA(char* buffer, uint32_t bufferSize);
    // Appends the sample of a 16-byte G-sensor block (x, y, z little-endian in 1/256 g).
    bool ParseGSensor(const unsigned char* buffer, uint32_t bufferSize);

    const VXLNMEASentenceParser& m_NMEAParser() const { return m_parser; }
    // One snapshot per "$G" sentence, in file order.
    const QList<VXLGpsData>& m_NMEAs() const { return m_nmeas; }
    // One sample per record read.
    const QList<VXLGSensor>& m_GSensors() const { return m_gSensors; }
    // One GPS block per record read; same length as m_GSensors.
    const QList<VXLAviGpsData>& m_vGpsData() const { return m_gpsBlocks; }

private:
    bool extract(DriveDataSource& source);

    VXLNMEASentenceParser m_parser;
    QList<VXLGpsData> m_nmeas;
    QList<VXLGSensor> m_gSensors;
    QList<VXLAviGpsData> m_gpsBlocks;
};
