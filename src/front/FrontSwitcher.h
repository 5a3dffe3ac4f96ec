#pragma once

#include "platform/RunningApplication.h"

#include <QString>
#include <QUrl>
#include <functional>

namespace varrow::platform {
class WindowServer;
class Processes;
}  // namespace varrow::platform

namespace varrow::front {

// Makes a running application frontmost, checks a moment later whether that worked and falls back
// to the next strategy if not: "hand-over", "compositor" (only where the compositor takes
// commands), "window-server", "activate-then-hand-over". Every
// attempt and outcome is one line of the switch log. Main thread only; keeps no state but the
// services it works through, so a chain carries its own copy and may outlive the switcher.
class FrontSwitcher {
public:
    FrontSwitcher(platform::WindowServer& windowServer, platform::Processes& processes)
        : windowServer_(&windowServer), processes_(&processes) {}

    // Starts an attempt chain and returns at once; the outcome shows only in the log.
    void bringToFront(const platform::AppHandle& target, const QString& label) const;

    // Appends "<UTC timestamp> <message>\n" to the switch log, creating its folder and file.
    // Never fails its caller.
    // Past kLogLimit bytes the log moves to "switch.log.1" (replacing the one before) and starts
    // afresh: a day of switching must not grow it forever.
    static void log(const QString& message);
    static constexpr qint64 kLogLimit = 256 * 1024;
    static QString logPath();
    static QUrl logURL();

private:
    QString frontName() const;
    void bringToFront(const platform::AppHandle& target) const;
    void windowServerFront(const platform::AppHandle& target, const QString& label) const;
    void compositorFront(const platform::AppHandle& target, const QString& label) const;
    void activateThenHandOver(const platform::AppHandle& target, const QString& label) const;
    void verify(const platform::AppHandle& target, const QString& label, const QString& step,
                std::function<void()> fallback) const;

    platform::WindowServer* windowServer_;
    platform::Processes* processes_;
};

}  // namespace varrow::front
