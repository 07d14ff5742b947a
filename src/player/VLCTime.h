#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// A time of the player in milliseconds, or no time at all (a media whose length is not
// known yet). Remaining times are negative.
class VLCTime
{
public:
    VLCTime() = default;

    static VLCTime timeWithInt(int64_t milliseconds) { return VLCTime(milliseconds); }
    // The start of a media.
    static VLCTime nullTime() { return VLCTime(0); }
    static VLCTime noTime() { return VLCTime(); }

    bool isValid() const { return m_milliseconds.has_value(); }
    // 0 for no time.
    int64_t intValue() const { return m_milliseconds.value_or(0); }

    // "MM:SS", "H:MM:SS" from one hour on, a leading "-" for negative times, "--:--" for no
    // time. Whole seconds, truncated towards zero: half a second left reads "00:00".
    QString stringValue() const;

    bool operator==(const VLCTime&) const = default;

private:
    explicit VLCTime(int64_t milliseconds) : m_milliseconds(milliseconds) {}

    std::optional<int64_t> m_milliseconds;
};
