#pragma once

#include "platform/PinnedApps.h"

#include <memory>

namespace varrow::install {

// A desktop whose panel keeps no list Varrow knows how to change: nothing is offered.
class NoPinnedApps : public platform::PinnedApps {
    Q_OBJECT
public:
    using PinnedApps::PinnedApps;
    Kind kind() const override { return Kind::None; }
    bool contains(const QString&) const override { return false; }
    void refresh() override {}
    void add(const QString& appPath, Done done) override;
};

// The pinned list of the desktop Varrow runs on, chosen by the session's desktop names: GNOME
// Shell's favourites, KDE Plasma's task manager, or none (Xfce, sway and the rest keep their
// panels' launchers in files of their own, read only at their start). Nothing is read yet.
std::unique_ptr<platform::PinnedApps> pinnedAppsForDesktop(const QStringList& desktops);

}  // namespace varrow::install
