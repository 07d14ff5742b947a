#include "settings/ui/VXLValidator.h"

#include <gtest/gtest.h>

namespace {

TEST(VXLValidator, ThresholdsNumbersAndShares)
{
    const QString invalid = QStringLiteral("Enter a number, such as 0.50.");
    const QString outOfRange = QStringLiteral("Enter a threshold from 0.05 g to 1.50 g.");
    for (const auto& [text, message] : {std::pair{"0.04", outOfRange},
                                        {"1.51", outOfRange},
                                        {"-0.5", outOfRange},
                                        {"0.05", QString()},
                                        {"1.5", QString()},
                                        {"0.5x", QString()}, // only the leading number counts
                                        {" .5", QString()},
                                        {"", QString()},
                                        {"abc", invalid},
                                        {".", invalid},
                                        {"x0.5", invalid}})
        EXPECT_EQ(VXLValidator::validateGsensorThreshold(QString::fromLatin1(text)), message)
            << text;

    for (const auto& [text, isNumber] : {std::pair{"0.5", true},
                                         {"  12", true},
                                         {"1e3", true},
                                         {"0.5x", false},
                                         {"1e", false},
                                         {"", false},
                                         {"0.5 ", false}})
        EXPECT_EQ(VXLValidator::stringIsNumber(QString::fromLatin1(text)), isNumber) << text;

    EXPECT_EQ(VXLValidator::validateSDCardSizeRatio(9),
              QStringLiteral("Each share of the card must be at least 10%."));
    EXPECT_EQ(VXLValidator::validateSDCardSizeRatio(10), QString());
}

} // namespace
