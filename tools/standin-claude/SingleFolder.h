#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QStringList>
#include <memory>

// One instance per data folder, as Claude has: a later start on the same folder hands its
// arguments and its XDG_ACTIVATION_TOKEN to the running instance over a local socket and exits.
// Its CLAUDE_CONFIG_DIR goes along too, for tests to see whose environment a later start had.
class SingleFolder : public QObject {
    Q_OBJECT
public:
    enum class Start { First, HandedOver, Failed };
    struct Later {
        QStringList arguments;
        QString activationToken;  // empty when the later start had none
        QString claudeConfigDir;
    };

    // Before the application object exists: takes the folder's lock, or passes the arguments to
    // the instance that holds it (waiting a while for one that is still starting).
    Start claim(const QString& dataDir, const Later& later);
    // The first instance listens for later starts; call once the application object exists.
    bool listen();

signals:
    void secondStart(const SingleFolder::Later& later);

private:
    void serve();

    QString socketPath_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
};
