#pragma once

#include <QObject>
#include <optional>

namespace varrow::platform {

// System-wide hot keys, named by the classic virtual key code and modifier bits
// (command 0x100, shift 0x200; command is Control on Linux).
class GlobalHotKeys : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    static constexpr quint32 kGraveKeyCode = 50;
    static constexpr quint32 kCommand = 0x100;
    static constexpr quint32 kShift = 0x200;

    // A reference for unregister(), or none when the key could not be registered
    // (for example because another application holds it).
    virtual std::optional<quint64> registerHotKey(quint32 signature, quint32 id, quint32 keyCode,
                                                  quint32 modifiers) = 0;
    virtual void unregisterHotKey(quint64 ref) = 0;

signals:
    // A registered key was pressed; carries the signature and identifier it was registered with.
    void pressed(quint32 signature, quint32 id);
};

}  // namespace varrow::platform
