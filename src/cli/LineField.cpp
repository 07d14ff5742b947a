#include "LineField.h"

#include "fileio/NativeFileName.h"

namespace {

bool needsEscape(char16_t unit)
{
    return unit == u'\t' || unit == u'\n' || unit == u'\\';
}

template <typename Bytes> void appendEscaped(Bytes& out, QStringView text)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (!needsEscape(unit))
            continue;
        NativeFileName::appendFileNameBytes(out, text.mid(start, i - start));
        out += '\\';
        out += unit == u'\t' ? 't' : unit == u'\n' ? 'n' : '\\';
        start = i + 1;
    }
    NativeFileName::appendFileNameBytes(out, text.mid(start));
}

} // namespace

void appendLineField(std::string& out, QStringView text)
{
    appendEscaped(out, text);
}

QByteArray lineField(QStringView text)
{
    QByteArray out;
    out.reserve(text.size());
    appendEscaped(out, text);
    return out;
}
