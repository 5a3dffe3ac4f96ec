#pragma once

#include "platform/Result.h"

#include <QObject>
#include <QString>

namespace varrow::platform {

// Opening this application at login.
class LoginItems : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Registers or unregisters; the failure keeps the file system's reason.
    virtual Result<> set(bool enabled) = 0;
    virtual bool isEnabled() = 0;
    // Whether this process was started by the login mechanism.
    virtual bool launchedAsLoginItem() = 0;
};

}  // namespace varrow::platform
