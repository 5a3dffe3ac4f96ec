#pragma once

#include "platform/ServiceRefs.h"
#include "ui/DisplayText.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <optional>

namespace varrow::model {
class ProfileStore;
}
namespace varrow::claude {
class ClaudeController;
}

namespace varrow::hooks {

// Renders the accounts window, the tray menu and the three switcher looks to PNG files off screen, then
// writes the status report: the scripted render. Each step waits on the event loop, so the views settle as
// they would on screen; nothing here needs a display.
class Renderer : public QObject {
    Q_OBJECT
public:
    struct Request {
        QString path;  // the window's PNG; the switcher files sit beside it
        bool dark = false;
        std::optional<QString> reportPath;
        ui::DesktopWords words;
        // Makes the tray menu, drawn beside the window as base + "-menu.png"; none when empty.
        std::function<QWidget*()> trayMenu;
    };

    // Starts a render that deletes itself when done; quits the application then when asked to.
    static Renderer* start(model::ProfileStore* store, claude::ClaudeController* claude,
                           const platform::ServiceRefs& services, Request request, bool quitWhenDone);

    // Lays the widget out at its size without putting it on a screen, and returns its image.
    static QImage snapshot(QWidget* widget);

signals:
    // The files that were written, in order; emitted once, before the application quits.
    void finished(const QStringList& written);

private:
    Renderer(model::ProfileStore* store, claude::ClaudeController* claude,
             const platform::ServiceRefs& services, Request request, bool quitWhenDone);

    void renderWindow();
    void renderTrayMenu();
    void renderLook(int index);
    void finish();
    // Saves the image as PNG, noting the file when it was written.
    void save(const QImage& image, const QString& path);
    // Shows the widget off screen, waits for it to settle, then saves it and continues.
    void settleThenSave(QWidget* widget, const QString& path, std::function<void()> next);

    model::ProfileStore* store_;
    claude::ClaudeController* claude_;
    platform::ServiceRefs services_;
    Request request_;
    bool quitWhenDone_;
    QStringList written_;
};

}  // namespace varrow::hooks
