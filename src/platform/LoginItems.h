#pragma once

#include <QObject>
#include <QString>

namespace varrow::platform {

// Opening this application at login.
class LoginItems : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Registers or unregisters; false with a description in *error on failure.
    virtual bool set(bool enabled, QString* error) = 0;
    virtual bool isEnabled() = 0;
    // Whether this process was started by the login mechanism.
    virtual bool launchedAsLoginItem() = 0;
};

}  // namespace varrow::platform
