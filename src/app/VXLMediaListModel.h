#pragma once

#include "library/VXLMedia.h"

#include <QAbstractTableModel>
#include <QPointer>

class VXLMediaList;

// The recording list as a four-column table: mode, date, time, file name. Every recording
// of the list has its own row, in the list's order. The model is reset whole when the list
// reports a finished scan, so the view never meets a half-replaced list.
class VXLMediaListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { SaveModeColumn = 0, DateColumn = 1, TimeColumn = 2, FileColumn = 3 };

    explicit VXLMediaListModel(VXLMediaList* mediaList, QObject* parent = nullptr);

    // Column identifier ("saveMode", "date", "time", "file") and title key.
    static QString columnIdentifier(int column);
    static const char* columnTitleKey(int column);
    static Qt::Alignment columnAlignment(int column);

    // What a cell of a recording shows.
    static QString cellText(const VXLMedia& media, int column);
    // "car_front_alwa" ... "car_rear_event"; empty when the camera, the mode or the time is
    // unknown.
    static QString cellImageName(const VXLMedia& media);

    // Rebuilds the rows from the list (after a scan has replaced its content).
    void reload();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QPointer<VXLMediaList> m_mediaList;
    QStringList m_columnNames;
};
