#pragma once

#include "platform/GlobalHotKeys.h"

#include <QMap>
#include <QSet>

namespace varrow::platform::fake {

class FakeHotKeys : public GlobalHotKeys {
    Q_OBJECT
public:
    using GlobalHotKeys::GlobalHotKeys;

    struct Key {
        quint32 signature, id, keyCode, modifiers;
    };
    QMap<quint64, Key> registered;
    QSet<quint32> taken;  // modifiers that another application holds
    int registrations = 0;

    std::optional<quint64> registerHotKey(quint32 signature, quint32 id, quint32 keyCode,
                                          quint32 modifiers) override {
        ++registrations;
        if (taken.contains(modifiers)) return std::nullopt;
        const quint64 ref = ++next_;
        registered.insert(ref, Key{signature, id, keyCode, modifiers});
        return ref;
    }
    void unregisterHotKey(quint64 ref) override { registered.remove(ref); }

    // Simulates a press of whichever registered key has these modifiers.
    bool press(quint32 modifiers) {
        for (const Key& key : registered) {
            if (key.modifiers == modifiers) {
                emit pressed(key.signature, key.id);
                return true;
            }
        }
        return false;
    }

private:
    quint64 next_ = 0;
};

}  // namespace varrow::platform::fake
