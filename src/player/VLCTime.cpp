#include "VLCTime.h"

#include <cstdlib>

QString VLCTime::stringValue() const
{
    if (!m_milliseconds)
        return QStringLiteral("--:--");
    const int64_t seconds = *m_milliseconds / 1000;
    const int64_t whole = std::llabs(seconds);
    const QString sign = seconds < 0 ? QStringLiteral("-") : QString();
    const auto two = [](int64_t value) {
        return QStringLiteral("%1").arg(value, 2, 10, QChar('0'));
    };
    if (whole >= 3600)
        return sign + QString::number(whole / 3600) + ':' + two(whole / 60 % 60) + ':' +
               two(whole % 60);
    return sign + two(whole / 60) + ':' + two(whole % 60);
}
