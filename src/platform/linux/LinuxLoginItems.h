#pragma once

#include "platform/LoginItems.h"

#include <QStringList>

namespace varrow::platform::linux_ {

// Open at login through an XDG autostart entry (~/.config/autostart/varrow.desktop) whose
// command passes --login-item.
class LinuxLoginItems : public LoginItems {
    Q_OBJECT
public:
    static constexpr auto kLoginFlag = "--login-item";

    // Empty values mean the user's autostart folder, the installed varrow (or this executable) and
    // this process's arguments.
    explicit LinuxLoginItems(QString autostartFolder = {}, QString executable = {},
                             QStringList arguments = {}, QObject* parent = nullptr);

    QString entryPath() const { return folder_ + QStringLiteral("/varrow.desktop"); }
    // The Exec= value that starts this executable as a login item (desktop-entry quoting).
    static QString execLine(const QString& executable);

    Result<> set(bool enabled) override;
    bool isEnabled() override;
    bool launchedAsLoginItem() override;

private:
    QString folder_;
    QString executable_;
    QStringList arguments_;
};

}  // namespace varrow::platform::linux_
