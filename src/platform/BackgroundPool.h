#pragma once

class QThreadPool;

namespace varrow::platform {

// Where Varrow's own work off the UI thread runs (copies, icons, memory figures), never on Qt's
// global pool: Qt's raster painting splits large fills and image blends across the global pool
// and the UI thread waits for the parts, so a copy holding a global thread would hold repaints.
QThreadPool* backgroundPool();

}  // namespace varrow::platform
