#pragma once

#include "platform/Timings.h"

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <functional>
#include <memory>
#include <optional>

namespace varrow::app {

// One running Varrow per user and home folder: two processes writing one profiles.json would lose
// data. The first process holds a lock file and listens on a local socket named after the home
// folder; later starts and the command line talk to it over that socket, one line per request
// ("show", "list", "open NAME", "quit") and the reply text until the connection closes.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // Answers one request with the reply text; an unknown command gets an empty optional.
    using Handler = std::function<std::optional<QString>(const QString& command, const QString& argument)>;

    // The socket and lock names for a home folder, private to the user.
    static QString socketPath(const QString& homeFolder);

    explicit SingleInstance(const QString& homeFolder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Takes the lock (a lock left by a process that died is taken over) and starts listening.
    // False when another live process holds it.
    bool acquire();
    void setHandler(Handler handler) { handler_ = std::move(handler); }

    // Sends one request to the running instance and returns its reply; none when nothing answers.
    static std::optional<QString> send(const QString& homeFolder, const QString& command,
                                       const QString& argument = {},
                                       int timeoutMs = int(Timings::socketTimeout().count()));

private:
    void serve();

    QString path_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
    Handler handler_;
};

}  // namespace varrow::app
