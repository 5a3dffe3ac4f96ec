#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <optional>

// What the stand-in saw at start, written as DIR/standin-state.json for tests to read back.
struct StandinState {
    QString dataDir;
    QStringList arguments;
    QString claudeConfigDir;  // empty when the variable was not set
    bool claudeConfigDirSet = false;
    bool autoUpdatesDisabled = false;
    QStringList links;  // claude: links from the start and from later starts on the same folder
    struct Activation {
        bool active;
        qint64 at;  // milliseconds since the epoch
    };
    QList<Activation> activations;  // the window gaining and losing activation, oldest first
    QStringList keys;               // keys typed into its window, oldest first ("Ctrl+`")
    QString layout;                 // "package", "bundle" or "loose"
    QString windowClass;            // the X11 WM_CLASS class its windows carry
    QString appId;                  // the Wayland app_id its windows carry
    struct LinkHandler {
        QString entry;  // the user entry written; empty when it could not be
        bool xdgMimeSucceeded = false;
        qint64 at = 0;  // when xdg-mime finished, milliseconds since the epoch
    };
    std::optional<LinkHandler> linkHandler;  // once claiming claude: links has finished
    QStringList activationTokens;            // XDG_ACTIVATION_TOKENs handed over by later starts
    QStringList laterConfigDirs;             // the CLAUDE_CONFIG_DIR each later start had
    qint64 startedAt = 0;                    // milliseconds since the epoch
    qint64 shownAt = 0;                      // its window first shown; 0 until then

    // The claude: links among arguments.
    static QStringList linksIn(const QStringList& arguments);

    static StandinState capture(const QString& dataDir, const QStringList& arguments);
    // True when DIR-3p/configLibrary/_meta.json names an applied policy file that says
    // "disableAutoUpdates": true.
    static bool updatesDisabledBeside(const QString& dataDir);
    QJsonObject toJson() const;
    bool write() const;
};
