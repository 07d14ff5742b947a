#include "DriveRecordTableModel.h"

DriveRecordTableModel::DriveRecordTableModel(DriveRecordKind kind, QObject* parent)
    : QAbstractTableModel(parent), m_kind(kind)
{
    for (const DriveRecordColumn& column : driveRecordColumns(kind))
        m_titles << QString::fromLatin1(column.englishTitle);
}

void DriveRecordTableModel::setColumnTitles(const QStringList& titles)
{
    if (titles.size() != m_titles.size())
        return;
    m_titles = titles;
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, int(m_titles.size()) - 1);
}

void DriveRecordTableModel::setFlashRecords(const FlashRecords& records)
{
    if (m_kind != DriveRecordKind::FlashData)
        return;
    beginResetModel();
    m_flash = records;
    endResetModel();
}

void DriveRecordTableModel::setObdRecords(const ObdRecords& records)
{
    if (m_kind != DriveRecordKind::ObdDriveInfo)
        return;
    beginResetModel();
    m_obd = records;
    endResetModel();
}

qsizetype DriveRecordTableModel::recordCount() const
{
    return m_kind == DriveRecordKind::FlashData ? m_flash.size() : m_obd.size();
}

QString DriveRecordTableModel::cellText(int row, int column) const
{
    if (row < 0 || row >= recordCount())
        return {};
    if (m_kind == DriveRecordKind::FlashData)
        return driveRecordCellText(m_flash.at(row), column, int64_t(row) + 1);
    return driveRecordCellText(m_obd.at(row), column, int64_t(row) + 1);
}

DriveRecordPosition DriveRecordTableModel::position(int row) const
{
    if (row < 0 || row >= recordCount())
        return {};
    if (m_kind == DriveRecordKind::FlashData)
        return driveRecordPosition(m_flash.at(row));
    return driveRecordPosition(m_obd.at(row));
}

int DriveRecordTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(recordCount());
}

int DriveRecordTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_titles.size());
}

QVariant DriveRecordTableModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return cellText(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    case Qt::FontRole:
        return m_cellFont;
    default:
        return {};
    }
}

QVariant DriveRecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_titles.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (role) {
    case Qt::DisplayRole:
        return m_titles.at(section);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    default:
        return {};
    }
}

Qt::ItemFlags DriveRecordTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}
