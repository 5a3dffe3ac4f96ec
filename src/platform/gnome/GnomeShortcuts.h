#pragma once

#include "platform/DesktopShortcuts.h"
#include "platform/gnome/ExtensionLink.h"

#include <memory>

namespace varrow::platform::gnome {

// The cycle keys held by Varrow's GNOME Shell extension. Unlike a desktop's own shortcut, the
// shell holds them only while a watched process's window is in front, so every other program keeps
// Ctrl+`.
class GnomeShortcuts : public DesktopShortcuts {
    Q_OBJECT
public:
    explicit GnomeShortcuts(std::shared_ptr<ExtensionLink> link);

    void bind(const QList<Shortcut>& shortcuts) override;
    bool isAvailable() const override { return link_->isAvailable(); }

    // The shell's name for a key, "<Control><Shift>grave"; empty for a key it has no name for here.
    static QString accelerator(Qt::Key key, Qt::KeyboardModifiers modifiers);

private:
    std::shared_ptr<ExtensionLink> link_;
};

}  // namespace varrow::platform::gnome
