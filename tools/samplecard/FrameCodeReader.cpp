#include "samplecard/FrameCode.h"

#include <QImage>

namespace samplecard {

namespace {

// Mean gray of a small square around (x, y): one pixel may be an encoder's ringing.
int grayAround(const QImage& picture, int x, int y)
{
    int sum = 0;
    int count = 0;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const int px = x + dx;
            const int py = y + dy;
            if (px < 0 || py < 0 || px >= picture.width() || py >= picture.height())
                continue;
            sum += qGray(picture.pixel(px, py));
            ++count;
        }
    }
    return count ? sum / count : 0;
}

} // namespace

int readFrameCode(const QImage& picture)
{
    const int width = picture.width();
    const int height = picture.height();
    const int strip = height / kFrameCodeStripDivisor;
    if (width < 2 * kFrameCodeBits || strip < 4)
        return -1;
    const int upperY = height - strip + strip / 4;
    const int lowerY = height - strip / 4 - 1;
    int number = 0;
    for (int bit = 0; bit < kFrameCodeBits; ++bit) {
        const int x = int((bit + 0.5) * width / kFrameCodeBits);
        const int upper = grayAround(picture, x, upperY);
        const int lower = grayAround(picture, x, lowerY);
        // A clean cell is near black or white, and its partner the opposite.
        const bool upperSet = upper >= 128;
        if (upperSet == (lower >= 128) || std::abs(upper - lower) < 96)
            return -1;
        number = (number << 1) | (upperSet ? 1 : 0);
    }
    return number;
}

} // namespace samplecard
