#pragma once

#include <QImage>

// The stand-in's application icon: a clay tile (exactly 0xD97757) carrying a white speech
// bubble with dark dots, so recolouring visibly changes the tile and keeps white and dark.
QImage drawStandinIcon(int pixels);
