#pragma once

#include "player/VLCMediaPlayer.h"

#include <QTest>

#include <cmath>

// How far apart two players are, averaged over a second: libVLC's time moves in steps of
// about a third of a second, so one reading says little.
inline double meanTimeGapMs(const VLCMediaPlayer& first, const VLCMediaPlayer& second)
{
    double gap = 0;
    for (int sample = 0; sample < 20; ++sample) {
        gap += double(first.time().intValue() - second.time().intValue()) / 20;
        QTest::qWait(50);
    }
    return std::abs(gap);
}
