#pragma once

#include <QString>

#include <optional>

// Checks of typed settings values; each answers the message to show, or an empty text.
class VXLValidator
{
public:
    // A floating-point number that fills the whole text (leading blanks allowed).
    static bool stringIsNumber(const QString& text);
    // The number at the start of the text, as a scanner reads it (leading blanks skipped,
    // anything after the number ignored); nothing when the text does not start with one.
    static std::optional<double> leadingNumber(const QString& text);

    // A G-sensor threshold in g: empty is accepted; otherwise the leading number must lie
    // within 0.05 to 1.5.
    static QString validateGsensorThreshold(const QString& text);
    // A share of the card in percent: 9 or less is too low.
    static QString validateSDCardSizeRatio(int percent);
};
