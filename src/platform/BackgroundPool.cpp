#include "platform/BackgroundPool.h"

#include <QThreadPool>

namespace varrow::platform {

QThreadPool* backgroundPool() {
    static QThreadPool* pool = [] {
        static QThreadPool threads;
        // Idle threads wait for work without a timeout: a thread ending after its idle time
        // would wake the process at rest.
        threads.setExpiryTimeout(-1);
        return &threads;
    }();
    return pool;
}

}  // namespace varrow::platform
