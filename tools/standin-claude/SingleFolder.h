#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QStringList>
#include <memory>

// One instance per data folder, as Claude has: a later start on the same folder hands its
// arguments and its XDG_ACTIVATION_TOKEN to the running instance over a local socket and exits.
class SingleFolder : public QObject {
    Q_OBJECT
public:
    enum class Start { First, HandedOver, Failed };

    // Before the application object exists: takes the folder's lock, or passes the arguments to
    // the instance that holds it (waiting a while for one that is still starting).
    Start claim(const QString& dataDir, const QStringList& arguments, const QString& activationToken);
    // The first instance listens for later starts; call once the application object exists.
    bool listen();

signals:
    // activationToken is empty when the later start had none.
    void secondStart(const QStringList& arguments, const QString& activationToken);

private:
    void serve();

    QString socketPath_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
};
