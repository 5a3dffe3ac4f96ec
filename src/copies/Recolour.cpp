#include "Recolour.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace varrow::copies {

namespace {

constexpr double kLow = 0.34;    // smallest channel of the brand colour
constexpr double kHigh = 0.85;   // largest channel of the brand colour
constexpr double kMaxStrength = 1.25;
constexpr double kAlphaFloor = 0.004;

// For one alpha: whiteness by the smallest stored byte and strength by the largest. The
// unpremultiplied value is monotonic in the byte, so min/max on bytes equals min/max on values.
struct AlphaTables {
    double alpha = 0;
    std::array<double, 256> whiteness{};
    std::array<double, 256> strength{};
};

void fill(AlphaTables& tables, int alphaByte) {
    const double a = alphaByte / 255.0;
    tables.alpha = a;
    for (int v = 0; v < 256; ++v) {
        const double x = (v / 255.0) / a;
        tables.whiteness[v] = std::clamp((x - kLow) / (1 - kLow), 0.0, 1.0);
        tables.strength[v] = std::min(x / kHigh, kMaxStrength);
    }
}

inline uchar channel(double a, double w, double s, double t) {
    const double value = std::min(w + t * s * (1 - w), 1.0);
    return static_cast<uchar>(a * value * 255);
}

}  // namespace

void recolourPremultipliedRgba(uchar* bytes, qsizetype bytesPerLine, int width, int height, quint32 tint) {
    const double tr = ((tint >> 16) & 0xFF) / 255.0;
    const double tg = ((tint >> 8) & 0xFF) / 255.0;
    const double tb = (tint & 0xFF) / 255.0;

    // Built on first use of each alpha; icons use few alphas besides 0 and 255.
    std::vector<AlphaTables> tables(256);
    std::array<bool, 256> built{};

    quint32 lastIn = 0, lastOut = 0;
    bool haveLast = false;
    for (int y = 0; y < height; ++y) {
        uchar* p = bytes + y * bytesPerLine;
        for (int x = 0; x < width; ++x, p += 4) {
            const int alphaByte = p[3];
            if (alphaByte / 255.0 <= kAlphaFloor) continue;
            quint32 in;
            std::memcpy(&in, p, 4);
            if (haveLast && in == lastIn) {
                std::memcpy(p, &lastOut, 4);
                continue;
            }
            AlphaTables& t = tables[alphaByte];
            if (!built[alphaByte]) {
                fill(t, alphaByte);
                built[alphaByte] = true;
            }
            const uchar lo = std::min({p[0], p[1], p[2]});
            const uchar hi = std::max({p[0], p[1], p[2]});
            const double w = t.whiteness[lo];
            const double s = t.strength[hi];
            p[0] = channel(t.alpha, w, s, tr);
            p[1] = channel(t.alpha, w, s, tg);
            p[2] = channel(t.alpha, w, s, tb);
            lastIn = in;
            std::memcpy(&lastOut, p, 4);
            haveLast = true;
        }
    }
}

void recolour(QImage& image, quint32 tint) {
    if (image.format() != QImage::Format_RGBA8888_Premultiplied) return;
    recolourPremultipliedRgba(image.bits(), image.bytesPerLine(), image.width(), image.height(), tint);
}

}  // namespace varrow::copies
