#pragma once

#include "driverecords/DriveRecordColumns.h"

#include <QAbstractTableModel>
#include <QFont>
#include <QList>
#include <QStringList>

#include <variant>

// The records of one drive-record file as a table: one row per record, the columns of its
// kind, each cell the text of its field's rule. The records are replaced whole, on the GUI
// thread, by a list read elsewhere; rows and records never disagree.
class DriveRecordTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using FlashRecords = QList<_FLASH_SAVE_VALUE_STRUCT>;
    using ObdRecords = QList<_OBD_SAVE_VALUE_STRUCT>;

    DriveRecordTableModel(DriveRecordKind kind, QObject* parent = nullptr);

    DriveRecordKind kind() const { return m_kind; }

    // The header titles, in column order (the localized texts of the column keys).
    void setColumnTitles(const QStringList& titles);
    const QStringList& columnTitles() const { return m_titles; }
    void setCellFont(const QFont& font) { m_cellFont = font; }

    void setFlashRecords(const FlashRecords& records);
    void setObdRecords(const ObdRecords& records);
    const FlashRecords& flashRecords() const { return m_flash; }
    const ObdRecords& obdRecords() const { return m_obd; }
    qsizetype recordCount() const;

    // Cell text of a row and column (the table's and the export's), and a row's position.
    QString cellText(int row, int column) const;
    DriveRecordPosition position(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    DriveRecordKind m_kind;
    QStringList m_titles;
    QFont m_cellFont;
    FlashRecords m_flash;
    ObdRecords m_obd;
};
