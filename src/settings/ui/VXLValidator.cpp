#include "VXLValidator.h"

#include "widgets/LocalizedString.h"

namespace {

constexpr double kThresholdMinimum = 0.05;
constexpr double kThresholdMaximum = 1.5;
constexpr int kLowestRatio = 9;

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Length of the number at `start` (sign, digits, fraction, exponent), 0 when there is none.
qsizetype numberLength(const QString& text, qsizetype start)
{
    qsizetype i = start;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    qsizetype digits = 0;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == u'.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0;
    // An exponent counts only when digits follow it.
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype e = i + 1;
        if (e < text.size() && (text[e] == u'+' || text[e] == u'-'))
            ++e;
        if (e < text.size() && isDigit(text[e])) {
            while (e < text.size() && isDigit(text[e]))
                ++e;
            i = e;
        }
    }
    return i - start;
}

qsizetype firstNonBlank(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    return i;
}

// The format's "%.2f" places filled in order.
QString fillNumbers(QString format, std::initializer_list<double> numbers)
{
    for (const double number : numbers) {
        const qsizetype at = format.indexOf(QStringLiteral("%.2f"));
        if (at < 0)
            break;
        format.replace(at, 4, QString::number(number, 'f', 2));
    }
    return format;
}

} // namespace

std::optional<double> VXLValidator::leadingNumber(const QString& text)
{
    const qsizetype start = firstNonBlank(text);
    const qsizetype length = numberLength(text, start);
    if (length == 0)
        return std::nullopt;
    bool ok = false;
    const double value = text.mid(start, length).toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

bool VXLValidator::stringIsNumber(const QString& text)
{
    const qsizetype start = firstNonBlank(text);
    const qsizetype length = numberLength(text, start);
    return length > 0 && start + length == text.size();
}

QString VXLValidator::validateGsensorThreshold(const QString& text)
{
    if (text.isEmpty())
        return {};
    const std::optional<double> number = leadingNumber(text);
    if (!number)
        return localizedString(QStringLiteral("msg.input_value_invalid_format"));
    if (*number < kThresholdMinimum || *number > kThresholdMaximum)
        return fillNumbers(localizedString(QStringLiteral("msg.gsensor_outofrange_fmt")),
                           {kThresholdMinimum, kThresholdMaximum});
    return {};
}

QString VXLValidator::validateSDCardSizeRatio(int percent)
{
    if (percent <= kLowestRatio)
        return localizedString(QStringLiteral("msg.sdcard_ratio_too_low"));
    return {};
}
