#include "platform/BackgroundPool.h"

#include <QThreadPool>

namespace varrow::platform {

QThreadPool* backgroundPool() {
    static QThreadPool pool;
    return &pool;
}

}  // namespace varrow::platform
