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
        quint32 signature, id;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    };
    QMap<quint64, Key> registered;
    QSet<int> taken;  // modifier combinations (toInt()) that another application holds
    int registrations = 0;
    QString label;  // what the layout prints on every key; empty: the US text

    std::optional<quint64> registerHotKey(quint32 signature, quint32 id, Qt::Key key,
                                          Qt::KeyboardModifiers modifiers) override {
        ++registrations;
        if (taken.contains(modifiers.toInt())) return std::nullopt;
        const quint64 ref = ++next_;
        registered.insert(ref, Key{signature, id, key, modifiers});
        return ref;
    }
    void unregisterHotKey(quint64 ref) override { registered.remove(ref); }
    QString keyLabel(Qt::Key key) override { return label.isEmpty() ? GlobalHotKeys::keyLabel(key) : label; }

    // Simulates a press of whichever registered key has these modifiers.
    bool press(Qt::KeyboardModifiers modifiers) {
        for (const Key& key : registered) {
            if (key.modifiers == modifiers) {
                emit pressed(key.signature, key.id);
                return true;
            }
        }
        return false;
    }

    void switchLayout(const QString& newLabel) {
        label = newLabel;
        emit keyboardChanged();
    }

private:
    quint64 next_ = 0;
};

}  // namespace varrow::platform::fake
