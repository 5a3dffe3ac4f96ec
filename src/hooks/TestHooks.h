#pragma once

#include "model/Profile.h"
#include "platform/ServiceRefs.h"
#include "ui/DisplayText.h"

#include <QList>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace varrow::model {
class ProfileStore;
}
namespace varrow::claude {
class ClaudeController;
}

namespace varrow::hooks {

// Environment-driven actions for scripted runs: VARROW_OPEN, VARROW_PIN, VARROW_ICONS and
// VARROW_RENDER (with VARROW_DARK and VARROW_REPORT). With none of them set, nothing happens.
class TestHooks {
public:
    // Reads the environment once and acts on it; a render is scheduled, and ends the process. A
    // render words the views as words says, and draws the tray menu trayMenu makes, if any.
    static void run(model::ProfileStore* store, claude::ClaudeController* claude,
                    const platform::ServiceRefs& services,
                    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
                    const ui::DesktopWords& words = {}, std::function<QWidget*()> trayMenu = {});

    // "Work,,Home," gives Work and Home: no trimming, empty pieces dropped.
    static QStringList splitNames(const QString& value);
    // One "icon-<name>.png" per non-default account into the folder; nothing when Claude is missing.
    // Returns how many files were written.
    static int writeIcons(const model::ProfileStore& store, const claude::ClaudeController& claude,
                          platform::DesktopFiles& files, const QString& folder);
    // The sibling files of a render path: base + "-" + suffix + ".png".
    static QString siblingPath(const QString& renderPath, const QString& suffix);
    static QString switcherPath(const QString& renderPath, const QString& suffix) {
        return siblingPath(renderPath, QStringLiteral("switcher-") + suffix);
    }
};

}  // namespace varrow::hooks
