#include "fileio/NativeFileName.h"

#include <gtest/gtest.h>

namespace {

// Bytes to text and back: valid UTF-8 reads as itself, each byte of anything else as one
// escape (U+DC00 + byte), and the bytes come back unchanged either way.
TEST(NativeFileName, MapsBytesToTextAndBackWithoutLoss)
{
    const struct
    {
        const char* what;
        QByteArray bytes;
        QString text;
    } cases[] = {
        {"ASCII", "alwa_20230415_093012_F.MP4", u"alwa_20230415_093012_F.MP4"_qs},
        {"UTF-8, two to four bytes", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x9a\x97",
         u"caf\u00e9 \u20ac \U0001F697"_qs},
        {"Latin-1", "M\xfcnchen",
         u"M\xdcfc"
         u"nchen"_qs},
        {"a lone continuation byte", "a\x80z", u"a\xdc80z"_qs},
        {"a cut sequence at the end", "ab\xe2\x82", u"ab\xdce2\xdc82"_qs},
        {"an overlong slash", "\xc0\xaf", u"\xdcc0\xdcaf"_qs},
        {"an encoded surrogate", "\xed\xa0\x80", u"\xdced\xdca0\xdc80"_qs},
        {"above U+10FFFF", "\xf4\x90\x80\x80", u"\xdcf4\xdc90\xdc80\xdc80"_qs},
        {"0xFF", "\xff", u"\xdcff"_qs},
    };
    for (const auto& c : cases) {
        const QString text = NativeFileName::fileNameFromBytes(c.bytes);
        EXPECT_EQ(text, c.text) << c.what;
        EXPECT_EQ(NativeFileName::fileNameToBytes(text), c.bytes) << c.what;
        EXPECT_EQ(NativeFileName::holdsEscapedBytes(text), c.bytes != c.text.toUtf8()) << c.what;
    }
    // Every pair of bytes, each run through the strict check as a start and an end.
    for (int first = 0; first < 256; ++first) {
        for (int second = 0; second < 256; ++second) {
            const char raw[] = {char(first), char(second), '\xe2', '\x82'};
            const QByteArray bytes(raw, sizeof raw);
            ASSERT_EQ(NativeFileName::fileNameToBytes(NativeFileName::fileNameFromBytes(bytes)),
                      bytes);
        }
    }
}

} // namespace
