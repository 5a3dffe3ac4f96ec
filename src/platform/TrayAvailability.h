#pragma once

#include <QObject>

namespace varrow::platform {

// Whether the desktop can show a tray icon now. Tray hosts come and go: a panel started after
// Varrow, a shell extension switched on later, a host that restarts.
class TrayAvailability : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual bool isAvailable() const = 0;

signals:
    void availableChanged(bool available);
    // A tray host appeared, also one that replaced another: an icon made for the old one is gone.
    void hostAppeared();
};

}  // namespace varrow::platform
