#include "settings/FileDataText.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

TEST(FileDataText, ParsesDecimalAndHexNumbersOnly)
{
    const struct
    {
        const char* text;
        std::optional<qint64> value;
    } cases[] = {
        {"0", 0},
        {"-120", -120},
        {"+7", 7},
        {" 12 ", 12},
        {"0x300", 0x300},
        {"0XfF", 255},
        {"007", 7},
        {"9223372036854775807", INT64_MAX},
        {"-9223372036854775808", INT64_MIN},
        {"0x7fffffffffffffff", INT64_MAX},
        {"9223372036854775808", std::nullopt},
        {"0x8000000000000000", std::nullopt},
        {"", std::nullopt},
        {"0x", std::nullopt},
        {"0x-5", std::nullopt}, // no sign after the prefix
        {"0x 12", std::nullopt},
        {"0x0x5", std::nullopt},
        {"-0x5", std::nullopt},
        {"1e3", std::nullopt},
        {"12abc", std::nullopt},
        {"+-1", std::nullopt},
        {"1 2", std::nullopt},
        {"ten", std::nullopt},
        {"\u0661\u0662", std::nullopt}, // digits of another script
    };
    for (const auto& c : cases) {
        qint64 value = 0;
        const bool ok = parseFileDataNumber(QString::fromUtf8(c.text), &value);
        EXPECT_FALSE(
            parseFileDataNumber(QString::fromUtf8(c.text) + QChar(0) + QChar(u'9'), &value))
            << c.text << " with a zero character and more after it";
        EXPECT_EQ(ok, c.value.has_value()) << c.text;
        if (ok && c.value) {
            EXPECT_EQ(value, *c.value) << c.text;
        }
    }
}

} // namespace
