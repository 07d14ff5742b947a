#include "VXLMedia.h"

#include <QDir>

namespace {

// atoi-style reading: leading white space, an optional sign, then digits up to the first
// non-digit. No digits gives 0. The camera's names only ever hold digits here, but a damaged
// name must still read the way the camera's own tools read it ("2023a4" month "a4" is 0).
int leadingInt(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    int value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = value * 10 + (text[i].unicode() - u'0'); // at most 4 digits: no overflow
    return negative ? -value : value;
}

// The sort key equal to the order of the "%04d%02d%02d%02d%02d%02d" strings: every field
// is either validated into its range (year at most 4 digits, the rest at most 2) or 0.
qint64 timeKey(const VXLMedia& m)
{
    return ((((qint64(m.year()) * 100 + m.month()) * 100 + m.day()) * 100 + m.hour()) * 100 +
            m.minute()) *
               100 +
           m.second();
}

} // namespace

bool VXLMedia::readTimeField(QStringView name, qsizetype s, int values[6])
{
    if (name.size() < s + 15)
        return false;
    values[0] = leadingInt(name.mid(s, 4));
    values[1] = leadingInt(name.mid(s + 4, 2));
    values[2] = leadingInt(name.mid(s + 6, 2));
    // The separator at s + 8 is not examined.
    values[3] = leadingInt(name.mid(s + 9, 2));
    values[4] = leadingInt(name.mid(s + 11, 2));
    values[5] = leadingInt(name.mid(s + 13, 2));
    // Hour 24, minute 60 and second 60 are accepted, as the camera writes them at midnight
    // and on leap seconds; the day is not checked against the month.
    return values[0] >= 1970 && values[0] <= 2700 && values[1] >= 1 && values[1] <= 12 &&
           values[2] >= 1 && values[2] <= 31 && values[3] >= 0 && values[3] <= 24 &&
           values[4] >= 0 && values[4] <= 60 && values[5] >= 0 && values[5] <= 60;
}

bool VXLMedia::_parseTimeByName(QStringView name, qsizetype startPos)
{
    int values[6];
    if (!readTimeField(name, startPos, values))
        return false;
    m_year = values[0];
    m_month = values[1];
    m_day = values[2];
    m_hour = values[3];
    m_minute = values[4];
    m_second = values[5];
    return true;
}

void VXLMedia::_updateToUknown()
{
    m_year = m_month = m_day = m_hour = m_minute = m_second = 0;
}

VXLMedia::VXLMedia(const QString& cleanDir, const QString& fileName)
    : m_path(cleanDir == u"/" ? u'/' + fileName : cleanDir + u'/' + fileName), m_dir(cleanDir)
{
    locateName(m_path.size() - fileName.size());
    parseName();
}

void VXLMedia::parsePath(const QString& path)
{
    m_path =
        QDir::cleanPath(QDir::isAbsolutePath(path) ? path : QDir::current().absoluteFilePath(path));
    const qsizetype slash = m_path.lastIndexOf(u'/');
    m_dir = slash > 0 ? m_path.left(slash) : QStringLiteral("/");
    locateName(slash + 1);
    parseName();
}

// Splits the last path component into name and extension at its last dot; a leading dot
// (a hidden file without extension) is part of the name.
void VXLMedia::locateName(qsizetype componentStart)
{
    const qsizetype dot = QStringView(m_path).mid(componentStart).lastIndexOf(u'.');
    m_nameStart = qint32(componentStart);
    m_hasExtension = dot > 0;
    m_nameLength = qint32(m_hasExtension ? dot : m_path.size() - componentStart);
}

void VXLMedia::parseName()
{
    const QStringView name = nameView();
    if (!hasRecordingNameLength(name.size())) {
        _updateToUknown();
        return;
    }
    m_mediaDirection = VXLMediaDirectionUnknown;

    struct Shape
    {
        QLatin1StringView prefix;
        int division;
        qsizetype timeStart;
    };
    static const Shape shapes[] = {
        {QLatin1StringView("alwa_"), VXLMediaDivisionAlways, 5},
        {QLatin1StringView("motion_"), VXLMediaDivisionMotion, 7},
        {QLatin1StringView("event_"), VXLMediaDivisionEvent, 6},
    };
    for (const Shape& shape : shapes) {
        if (name.startsWith(shape.prefix)) {
            m_mediaDivision = shape.division;
            if (!_parseTimeByName(name, shape.timeStart)) {
                _updateToUknown();
                return;
            }
            break;
        }
    }

    if (name.endsWith(QLatin1StringView("_F")))
        m_mediaDirection = VXLMediaDirectionFront;
    else if (name.endsWith(QLatin1StringView("_R")))
        m_mediaDirection = VXLMediaDirectionRear;
}

int VXLMedia::compareDate(const VXLMedia& other) const
{
    const qint64 mine = timeKey(*this);
    const qint64 theirs = timeKey(other);
    if (mine != theirs)
        return mine < theirs ? -1 : 1;
    if (m_mediaDivision != other.m_mediaDivision)
        return m_mediaDivision > other.m_mediaDivision ? -1 : 1;
    if (m_mediaDirection != other.m_mediaDirection)
        return m_mediaDirection < other.m_mediaDirection ? -1 : 1;
    return 0;
}

QString VXLMedia::fileName() const
{
    QString name = nameView().toString();
    name += u'.';
    name += extensionView();
    return name;
}

QString VXLMedia::mediaGroupName() const
{
    return nameView().left(qMax<qsizetype>(0, m_nameLength - 2)).toString();
}

QString VXLMedia::pairKey() const
{
    const QStringView name = nameView();
    if (name.endsWith(QLatin1StringView("_F")) || name.endsWith(QLatin1StringView("_R")))
        return name.chopped(2).toString();
    return name.toString();
}

QString VXLMedia::yyyymmddhhmiss() const
{
    return QString::asprintf("%04d%02d%02d%02d%02d%02d", m_year, m_month, m_day, m_hour, m_minute,
                             m_second);
}

int mediaDirectionForPath(const QString& path)
{
    if (path.size() < 6)
        return VXLMediaDirectionUnknown;
    const QStringView tail = QStringView(path).right(6);
    if (tail.compare(QLatin1StringView("_R.MP4"), Qt::CaseInsensitive) == 0)
        return VXLMediaDirectionRear;
    if (tail.compare(QLatin1StringView("_F.MP4"), Qt::CaseInsensitive) == 0)
        return VXLMediaDirectionFront;
    return VXLMediaDirectionUnknown;
}
