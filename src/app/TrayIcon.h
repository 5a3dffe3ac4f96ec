#pragma once

#include <QMenu>
#include <QObject>
#include <memory>

class QSystemTrayIcon;

namespace varrow::app {

class TrayMenu;

// Varrow's icon in the desktop's tray, made whenever a tray host is there: at start-up or when
// one appears later (made anew for a host that replaced another), and dropped when it goes.
// Qt is not asked about trays before one is known to be there, as it decides once per process
// which kind it will use.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TrayIcon(TrayMenu* menu, QObject* parent = nullptr);
    ~TrayIcon() override;

    // The icon on show now; null while there is no tray.
    QSystemTrayIcon* icon() const { return icon_.get(); }

private:
    void create();
    void drop();

    QMenu content_;
    std::unique_ptr<QSystemTrayIcon> icon_;
};

}  // namespace varrow::app
