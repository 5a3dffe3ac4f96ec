#pragma once

#include "platform/DesktopShortcuts.h"

namespace varrow::platform::fake {

class FakeDesktopShortcuts : public DesktopShortcuts {
    Q_OBJECT
public:
    using DesktopShortcuts::DesktopShortcuts;

    QList<Shortcut> bound;
    bool available = true;

    void bind(const QList<Shortcut>& shortcuts) override { bound = shortcuts; }
    bool isAvailable() const override { return available; }

    // The desktop reports a press of a bound shortcut.
    bool press(const QString& id) {
        for (const Shortcut& shortcut : std::as_const(bound)) {
            if (shortcut.id == id) {
                emit activated(id);
                return true;
            }
        }
        return false;
    }
};

}  // namespace varrow::platform::fake
