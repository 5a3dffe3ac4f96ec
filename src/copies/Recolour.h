#pragma once

#include <QImage>
#include <QtGlobal>

namespace varrow::copies {

// Recolours premultiplied RGBA bytes in place so that the brand colour 0xD97757 becomes `tint`
// (24-bit sRGB), lighter pixels lean toward white, darker ones keep the tint at reduced
// strength. Computed in double precision, byte for byte the same as the per-pixel formula;
// per-alpha tables and a cache keyed by (alpha, darkest, brightest byte) keep it fast.
void recolourPremultipliedRgba(uchar* bytes, qsizetype bytesPerLine, int width, int height, quint32 tint);

// Same on an image of Format_RGBA8888_Premultiplied; other formats are left alone.
void recolour(QImage& image, quint32 tint);

}  // namespace varrow::copies
