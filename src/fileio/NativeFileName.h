#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// File names are bytes on Linux, and nothing makes them UTF-8: a card written by another
// system, or a copy made under a Latin-1 locale, holds names that are not. Qt's own
// conversion (QFile::encodeName) turns such bytes into U+FFFD and so cannot find the file
// again. These two functions map a name to text and back without loss: valid UTF-8 is decoded
// as usual, and every byte of an invalid sequence becomes the lone surrogate U+DC80..U+DCFF
// (the scheme Python calls "surrogateescape"). UTF-8 never encodes surrogates, so the mapping
// is unambiguous, and fileNameToBytes(fileNameFromBytes(b)) == b for every b.
namespace NativeFileName {

namespace Detail {

// Length of the valid UTF-8 sequence at bytes[i], or 0 when it is not one (overlong forms,
// surrogates and values above U+10FFFF are not valid).
inline qsizetype validSequenceLength(QByteArrayView bytes, qsizetype i, char32_t* codePoint)
{
    const auto byte = [&](qsizetype k) {
        return uchar(bytes[k]);
    };
    const uchar lead = byte(i);
    qsizetype length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
        value = lead & 0x1f;
        minimum = 0x80;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        value = lead & 0x0f;
        minimum = 0x800;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        value = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    for (qsizetype k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xc0) != 0x80)
            return 0;
        value = (value << 6) | (byte(i + k) & 0x3f);
    }
    if (value < minimum || value > 0x10ffff || (value >= 0xd800 && value <= 0xdfff))
        return 0;
    *codePoint = value;
    return length;
}

} // namespace Detail

inline QString fileNameFromBytes(QByteArrayView bytes)
{
    if (bytes.isValidUtf8())
        return QString::fromUtf8(bytes);
    QString text;
    text.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        const uchar lead = uchar(bytes[i]);
        if (lead < 0x80) {
            text += QChar(lead);
            ++i;
            continue;
        }
        char32_t codePoint = 0;
        const qsizetype length = Detail::validSequenceLength(bytes, i, &codePoint);
        if (length == 0) {
            text += QChar(char16_t(0xdc00 + lead));
            ++i;
            continue;
        }
        text += QStringView(QChar::fromUcs4(codePoint));
        i += length;
    }
    return text;
}

// Appends the bytes of `text` to `out` (a QByteArray or a std::string).
template <typename Bytes> void appendFileNameBytes(Bytes& out, QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        char32_t codePoint = unit;
        if (unit < 0x80) {
            out += char(unit);
            continue;
        }
        if (unit >= 0xdc80 && unit <= 0xdcff) { // an escaped byte
            out += char(unit - 0xdc00);
            continue;
        }
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            codePoint = QChar::surrogateToUcs4(unit, text[++i].unicode());
        } else if (QChar::isSurrogate(unit)) {
            codePoint = 0xfffd; // a lone surrogate no decoded name holds
        }
        if (codePoint < 0x800) {
            out += char(0xc0 | (codePoint >> 6));
        } else if (codePoint < 0x10000) {
            out += char(0xe0 | (codePoint >> 12));
            out += char(0x80 | ((codePoint >> 6) & 0x3f));
        } else {
            out += char(0xf0 | (codePoint >> 18));
            out += char(0x80 | ((codePoint >> 12) & 0x3f));
            out += char(0x80 | ((codePoint >> 6) & 0x3f));
        }
        out += char(0x80 | (codePoint & 0x3f));
    }
}

// Whether the text holds bytes that are not UTF-8, which only these functions map back:
// Qt's own file classes would turn each into '?' and so name another file.
inline bool holdsEscapedBytes(QStringView text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0xdc80 && c.unicode() <= 0xdcff)
            return true;
    }
    return false;
}

inline QByteArray fileNameToBytes(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    appendFileNameBytes(bytes, text);
    return bytes;
}

} // namespace NativeFileName
