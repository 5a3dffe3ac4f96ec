#pragma once

#include <QtGlobal>
#include <algorithm>

namespace varrow::test {

// The recolouring formula written out plainly, one pixel at a time: the yardstick that the
// fast version must match byte for byte (tests) and beat (benchmark).
inline void recolourReference(uchar* bytes, qsizetype bytesPerLine, int width, int height, quint32 tint) {
    const double tr = ((tint >> 16) & 0xFF) / 255.0;
    const double tg = ((tint >> 8) & 0xFF) / 255.0;
    const double tb = (tint & 0xFF) / 255.0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uchar* p = bytes + y * bytesPerLine + x * 4;
            const double a = p[3] / 255.0;
            if (a <= 0.004) continue;
            const double r = (p[0] / 255.0) / a;
            const double g = (p[1] / 255.0) / a;
            const double b = (p[2] / 255.0) / a;
            const double lo = std::min({r, g, b});
            const double hi = std::max({r, g, b});
            const double w = std::clamp((lo - 0.34) / (1 - 0.34), 0.0, 1.0);
            const double s = std::min(hi / 0.85, 1.25);
            const double tints[3] = {tr, tg, tb};
            for (int c = 0; c < 3; ++c) {
                const double value = std::min(w + tints[c] * s * (1 - w), 1.0);
                p[c] = static_cast<uchar>(a * value * 255);
            }
        }
    }
}

}  // namespace varrow::test
