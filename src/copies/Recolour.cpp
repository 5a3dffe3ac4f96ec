#include "Recolour.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace varrow::copies {

namespace {

constexpr double kLow = 0.34;   // smallest channel of the brand colour
constexpr double kHigh = 0.85;  // largest channel of the brand colour
constexpr double kMaxStrength = 1.25;
constexpr double kAlphaFloor = 0.004;
constexpr int kCacheBits = 14;

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
    // alpha / 255 <= 0.004 holds exactly for the bytes 0 and 1.
    static_assert(1 / 255.0 <= kAlphaFloor && 2 / 255.0 > kAlphaFloor);

    // Built on first use of each alpha; icons use few alphas besides 0 and 255.
    std::vector<AlphaTables> tables(256);
    std::array<bool, 256> built{};
    // The result depends only on (alpha, smallest byte, largest byte): a direct-mapped cache keyed
    // by that triple catches the repeats of gradients and flat areas alike.
    struct Slot {
        quint32 key = 0;  // bit 24 marks a filled slot
        uchar out[3];
    };
    std::vector<Slot> cache(1u << kCacheBits);

    // Runs of one pixel value (flat areas) skip even the cache.
    quint32 lastIn = 0;
    const Slot* last = nullptr;
    for (int y = 0; y < height; ++y) {
        uchar* p = bytes + y * bytesPerLine;
        for (int x = 0; x < width; ++x, p += 4) {
            const int alphaByte = p[3];
            if (alphaByte <= 1) continue;
            quint32 in;
            std::memcpy(&in, p, 4);
            if (last && in == lastIn) {
                p[0] = last->out[0];
                p[1] = last->out[1];
                p[2] = last->out[2];
                continue;
            }
            const uchar lo = std::min({p[0], p[1], p[2]});
            const uchar hi = std::max({p[0], p[1], p[2]});
            const quint32 key = (1u << 24) | quint32(alphaByte) << 16 | quint32(hi) << 8 | lo;
            Slot& slot = cache[(key * 2654435761u) >> (32 - kCacheBits)];
            if (slot.key != key) {
                AlphaTables& t = tables[alphaByte];
                if (!built[alphaByte]) {
                    fill(t, alphaByte);
                    built[alphaByte] = true;
                }
                const double w = t.whiteness[lo];
                const double s = t.strength[hi];
                slot.key = key;
                slot.out[0] = channel(t.alpha, w, s, tr);
                slot.out[1] = channel(t.alpha, w, s, tg);
                slot.out[2] = channel(t.alpha, w, s, tb);
            }
            p[0] = slot.out[0];
            p[1] = slot.out[1];
            p[2] = slot.out[2];
            lastIn = in;
            last = &slot;
        }
    }
}

void recolour(QImage& image, quint32 tint) {
    if (image.format() != QImage::Format_RGBA8888_Premultiplied) return;
    recolourPremultipliedRgba(image.bits(), image.bytesPerLine(), image.width(), image.height(), tint);
}

}  // namespace varrow::copies
