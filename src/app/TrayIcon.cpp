#include "app/TrayIcon.h"

#include "app/TrayMenu.h"
#include "platform/Platform.h"
#include "ui/AppGlyph.h"

#include <QCursor>
#include <QSystemTrayIcon>

namespace varrow::app {

TrayIcon::TrayIcon(TrayMenu* menu, QObject* parent) : QObject(parent) {
    menu->attach(&content_, true);
    auto& trays = platform::Platform::trays();
    connect(&trays, &platform::TrayAvailability::hostAppeared, this, &TrayIcon::create);
    connect(&trays, &platform::TrayAvailability::availableChanged, this, [this](bool available) {
        if (!available) drop();
    });
    if (trays.isAvailable()) create();
}

TrayIcon::~TrayIcon() = default;

void TrayIcon::create() {
    drop();
    icon_ = std::make_unique<QSystemTrayIcon>(ui::AppGlyph::icon());
    icon_->setContextMenu(&content_);
    icon_->setToolTip(QStringLiteral("Varrow"));
    // A plain click opens the same menu as a right click, as a menu-bar item would.
    connect(icon_.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger) content_.popup(QCursor::pos());
    });
    icon_->show();
}

void TrayIcon::drop() {
    icon_.reset();
}

}  // namespace varrow::app
