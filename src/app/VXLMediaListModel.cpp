#include "VXLMediaListModel.h"

#include "library/VXLMediaList.h"
#include "widgets/GWImage.h"
#include "widgets/LocalizedString.h"

#include <QFont>
#include <QIcon>

namespace {

constexpr int kColumnCount = 4;

struct ColumnInfo
{
    const char* identifier;
    const char* titleKey;
    Qt::Alignment alignment;
};

const ColumnInfo kColumns[kColumnCount] = {
    {"saveMode", stringKey("filelist.mode"), Qt::AlignCenter},
    {"date", stringKey("filelist.date"), Qt::AlignCenter},
    {"time", stringKey("filelist.time"), Qt::AlignCenter},
    {"file", stringKey("filelist.file"), Qt::AlignLeft | Qt::AlignVCenter},
};

const char* modeTextKey(int mediaDivision)
{
    switch (mediaDivision) {
    case VXLMediaDivisionAlways:
        return stringKey("media.always");
    case VXLMediaDivisionMotion:
        return stringKey("media.motion");
    case VXLMediaDivisionEvent:
        return stringKey("media.event");
    default:
        return stringKey("media.unknown");
    }
}

} // namespace

VXLMediaListModel::VXLMediaListModel(VXLMediaList* mediaList, QObject* parent)
    : QAbstractTableModel(parent), m_mediaList(mediaList)
{
    for (const ColumnInfo& column : kColumns) {
        m_columnNames.append(localizedString(QString::fromLatin1(column.titleKey)));
    }
}

QString VXLMediaListModel::columnIdentifier(int column)
{
    return column >= 0 && column < kColumnCount ? QString::fromLatin1(kColumns[column].identifier)
                                                : QString();
}

const char* VXLMediaListModel::columnTitleKey(int column)
{
    return column >= 0 && column < kColumnCount ? kColumns[column].titleKey : "";
}

Qt::Alignment VXLMediaListModel::columnAlignment(int column)
{
    return column >= 0 && column < kColumnCount ? kColumns[column].alignment : Qt::AlignLeft;
}

QString VXLMediaListModel::cellText(const VXLMedia& media, int column)
{
    switch (column) {
    case SaveModeColumn:
        return localizedString(QString::fromLatin1(modeTextKey(media.mediaDivision())));
    case DateColumn:
        if (media.year() < 1) {
            return {};
        }
        return QString::asprintf("%04d-%02d-%02d", media.year(), media.month(), media.day());
    case TimeColumn:
        if (media.year() < 1) {
            return {};
        }
        return QString::asprintf("%02d:%02d:%02d", media.hour(), media.minute(), media.second());
    case FileColumn:
        return media.fileName();
    default:
        return {};
    }
}

QString VXLMediaListModel::cellImageName(const VXLMedia& media)
{
    // A name without a known prefix is listed as an always recording without time; its
    // mode is a guess, so it gets no mode image.
    if (media.year() < 1) {
        return {};
    }
    QString direction;
    if (media.mediaDirection() == VXLMediaDirectionFront) {
        direction = QStringLiteral("front");
    } else if (media.mediaDirection() == VXLMediaDirectionRear) {
        direction = QStringLiteral("rear");
    }
    QString mode;
    switch (media.mediaDivision()) {
    case VXLMediaDivisionAlways:
        mode = QStringLiteral("alwa");
        break;
    case VXLMediaDivisionMotion:
        mode = QStringLiteral("motion");
        break;
    case VXLMediaDivisionEvent:
        mode = QStringLiteral("event");
        break;
    default:
        break;
    }
    if (direction.isEmpty() || mode.isEmpty()) {
        return {};
    }
    return QStringLiteral("car_%1_%2").arg(direction, mode);
}

void VXLMediaListModel::reload()
{
    beginResetModel();
    endResetModel();
}

int VXLMediaListModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !m_mediaList) {
        return 0;
    }
    return static_cast<int>(m_mediaList->count());
}

int VXLMediaListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant VXLMediaListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !m_mediaList || index.row() < 0) {
        return {};
    }
    const VXLMediaPtr media = m_mediaList->mediaAtIndex(static_cast<size_t>(index.row()));
    if (!media) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return cellText(*media, index.column());
    case Qt::DecorationRole: {
        if (index.column() != SaveModeColumn) {
            return {};
        }
        const QPixmap image = GWImageNamed(cellImageName(*media));
        return image.isNull() ? QVariant() : QVariant(image);
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(columnAlignment(index.column()));
    case Qt::ToolTipRole:
        return media->path();
    case Qt::FontRole: {
        QFont font;
        font.setPixelSize(11); // small, so a file name fits the 334-wide column
        return font;
    }
    default:
        return {};
    }
}

QVariant VXLMediaListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return m_columnNames.value(section);
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(columnAlignment(section));
    }
    return {};
}
