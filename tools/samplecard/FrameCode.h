#pragma once

#include <QString>

class QImage;

namespace samplecard {

// Every picture of a sample recording carries its frame number (0 for the first frame) in a
// strip along its bottom edge, a twelfth of the picture high: two rows of 16 cells, each a
// sixteenth of the width. The upper row holds the number's bits, the most significant on the
// left, white for 1 and black for 0; the lower row holds the same bits inverted, so a
// picture caught between two frames or blurred by the encoder reads as no number rather
// than a wrong one.
constexpr int kFrameCodeBits = 16;
constexpr int kFrameCodeStripDivisor = 12;

// ffmpeg filter source for the strip of a width x height video at `rate` frames a second,
// as a gray picture of the strip alone (to be overlaid at the bottom).
QString frameCodeStripSource(int width, int height, int rate);

// The frame number a picture carries, or -1 when it carries none that reads cleanly. The
// picture may be scaled (not cropped) from the recorded size.
int readFrameCode(const QImage& picture);

} // namespace samplecard
