#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

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

    // The claude: links among arguments.
    static QStringList linksIn(const QStringList& arguments);

    static StandinState capture(const QString& dataDir, const QStringList& arguments);
    // True when DIR-3p/configLibrary/_meta.json names an applied policy file that says
    // "disableAutoUpdates": true.
    static bool updatesDisabledBeside(const QString& dataDir);
    QJsonObject toJson() const;
    bool write() const;
};
