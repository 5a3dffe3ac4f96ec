#pragma once

#include "platform/GlobalHotKeys.h"

#include <QHash>
#include <QList>
#include <memory>

namespace varrow::platform::linux_ {

class LinuxX11;

// Global hot keys as passive key grabs on the root window. Each key is grabbed with and without
// Caps Lock and Num Lock, so it works whatever their state.
class LinuxHotKeys : public GlobalHotKeys {
    Q_OBJECT
public:
    explicit LinuxHotKeys(std::shared_ptr<LinuxX11> x11, QObject* parent = nullptr);
    ~LinuxHotKeys() override;

    std::optional<quint64> registerHotKey(quint32 signature, quint32 id, quint32 keyCode,
                                          quint32 modifiers) override;
    void unregisterHotKey(quint64 ref) override;

    // The X keysym for a classic virtual key code; 0 when unknown.
    static quint32 keysymFor(quint32 keyCode);
    // The X modifier mask for classic modifier bits (command -> Control, shift -> Shift).
    static quint16 modifierMask(quint32 modifiers);

private:
    struct Grab {
        quint32 signature, id;
        QList<quint8> keycodes;
        quint16 mask;
    };

    QList<quint8> keycodesFor(quint32 keysym);
    quint16 numLockMask();
    QList<quint16> lockVariants(quint16 mask);
    void ungrab(const QList<quint8>& keycodes, quint16 mask);
    void keyEvent(bool down, quint8 keycode, quint16 state, quint32 time);

    std::shared_ptr<LinuxX11> x11_;
    QHash<quint64, Grab> grabs_;
    quint64 next_ = 0;
    std::optional<quint16> numLock_;
    quint8 releasedKey_ = 0;
    quint32 releasedAt_ = 0;
};

}  // namespace varrow::platform::linux_
