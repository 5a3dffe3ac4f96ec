#pragma once

#include <QObject>
#include <QPointF>
#include <QSettings>
#include <QVariant>
#include <chrono>
#include <memory>
#include <optional>

namespace varrow::model {

// The user defaults, typed, with their defaults in one table. Every write emits changed(key),
// which stands for the platform's defaults-changed notification.
class Defaults : public QObject {
    Q_OBJECT
public:
    static constexpr auto kSwitcherStyle = "switcherStyle";
    static constexpr auto kCycleHotKeyEnabled = "cycleHotKeyEnabled";
    static constexpr auto kSwitcherFloatingOrigin = "switcherFloatingOrigin";
    static constexpr auto kDidSetUpLoginItem = "didSetUpLoginItem";
    // "Send sign-in links to the account that asked"; while Varrow holds the claude: handler, the
    // handler it took over is remembered so it can be given back.
    static constexpr auto kSendSignInLinks = "sendSignInLinksToAccount";
    // On a Wayland desktop, start every Claude as an X11 client (Xwayland) so switching works.
    static constexpr auto kStartClaudeThroughXwayland = "startClaudeThroughXwayland";
    // Quit an account's Claude after it has idled in the background this long (seconds; the
    // settings show hours).
    static constexpr auto kSleepIdleAccounts = "sleepIdleAccounts";
    static constexpr auto kSleepAfterSeconds = "sleepIdleAccountsAfterSeconds";
    static constexpr auto kLinkHandlerTaken = "claudeLinkHandlerTaken";
    static constexpr auto kPreviousLinkHandler = "previousClaudeLinkHandler";
    // Varrow once installed or offered its GNOME Shell extension: never again, so an extension the
    // user turned off stays off.
    static constexpr auto kGnomeExtensionOffered = "gnomeExtensionOffered";

    // The process-wide defaults (QSettings of organisation and application "Varrow").
    static Defaults& shared();
    // Tests point the shared defaults at a file of their own (an empty path restores the real one).
    static void useFileForTests(const QString& path);

    // Stored value, or the registered default, or an invalid QVariant.
    QVariant value(const QString& key) const;
    bool contains(const QString& key) const;
    void setValue(const QString& key, const QVariant& value);
    void remove(const QString& key);

    // "edge", "floating" or "off" as stored; any other text is returned as it is.
    QString switcherStyle() const;
    bool cycleHotKeyEnabled() const;
    std::optional<QPointF> switcherFloatingOrigin() const;
    void setSwitcherFloatingOrigin(const QPointF& topLeft);
    bool didSetUpLoginItem() const;
    bool sendSignInLinks() const;
    bool linkHandlerTaken() const;
    bool startClaudeThroughXwayland() const;
    bool gnomeExtensionOffered() const;
    // How long an account may idle in the background before it is quit; none while that is off.
    std::optional<std::chrono::seconds> sleepAfter() const;

    // A stored yes or no (INI files give booleans back as text).
    bool flag(const QString& key) const;

    // The "{x, y}" text form of a point, and its reading (none for text that is not a point).
    static QString pointToString(const QPointF& point);
    static std::optional<QPointF> pointFromString(const QString& text);

signals:
    void changed(const QString& key);

private:
    explicit Defaults(std::unique_ptr<QSettings> settings);
    std::unique_ptr<QSettings> settings_;
};

}  // namespace varrow::model
