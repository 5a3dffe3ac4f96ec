#pragma once

#include "platform/GlobalHotKeys.h"

#include <QHash>
#include <QList>
#include <memory>

namespace varrow::platform::x11 {

class X11Connection;
class XkbKeyboard;

// Global hot keys as passive key grabs on the root window. Each key is grabbed with and without
// Caps Lock and Num Lock, so it works whatever their state, and grabbed again wherever the key
// sits after the keyboard map changes.
class X11HotKeys : public GlobalHotKeys {
    Q_OBJECT
public:
    explicit X11HotKeys(std::shared_ptr<X11Connection> x11, QObject* parent = nullptr);
    ~X11HotKeys() override;

    std::optional<quint64> registerHotKey(quint32 signature, quint32 id, Qt::Key key,
                                          Qt::KeyboardModifiers modifiers) override;
    void unregisterHotKey(quint64 ref) override;
    QString keyLabel(Qt::Key key) override;

    // The X modifier mask for Qt modifiers; none for a modifier X has no fixed bit for.
    static std::optional<quint16> modifierMask(Qt::KeyboardModifiers modifiers);

private:
    struct Grab {
        quint32 signature, id;
        Qt::Key key;
        quint16 mask;
        QList<quint8> keycodes;
        QList<quint16> variants;  // the mask with each combination of Caps Lock and Num Lock
    };

    QList<quint8> keycodesFor(Qt::Key key);
    QList<quint8> keycodesForKeysym(quint32 keysym);
    quint16 numLockMask();
    QList<quint16> lockVariants(quint16 mask);
    bool grab(const QList<quint8>& keycodes, const QList<quint16>& variants);
    void ungrab(const QList<quint8>& keycodes, const QList<quint16>& variants);
    void keyEvent(bool down, quint8 keycode, quint16 state, quint32 time);
    void mapChanged();
    void regrab();

    std::shared_ptr<X11Connection> x11_;
    std::unique_ptr<XkbKeyboard> keyboard_;
    QHash<quint64, Grab> grabs_;
    QHash<int, QString> labels_;
    quint64 next_ = 0;
    std::optional<quint16> numLock_;
    bool regrabQueued_ = false;
    quint8 releasedKey_ = 0;
    quint32 releasedAt_ = 0;
};

}  // namespace varrow::platform::x11
