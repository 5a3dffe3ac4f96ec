#include "app/LinkCommand.h"

#include "app/Helpers.h"
#include "app/SingleInstance.h"
#include "claude/LinkRouter.h"
#include "model/ProfileStore.h"
#include "platform/Timings.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTextStream>
#include <QThread>

namespace varrow::app {

int LinkCommand::run(int argc, char** argv) {
    QCoreApplication core(argc, argv);
    QTextStream err(stderr);
    const QStringList arguments = QCoreApplication::arguments().mid(2);
    if (arguments.size() != 1) {
        err << "“open-link” takes exactly one link.\n";
        return Usage;
    }
    const QString& link = arguments.first();
    if (!claude::LinkRouter::isClaudeLink(link)) {
        err << "Varrow only passes on claude: links; “" << link << "” is not one.\n";
        return Usage;
    }

    const QString home = model::StoreLocations::standard().root;
    const QString verb = QString::fromLatin1(kVerb);
    std::optional<QString> reply = SingleInstance::send(home, verb, link);
    if (!reply && QProcess::startDetached(QCoreApplication::applicationFilePath(), {})) {
        const QDeadlineTimer deadline(Timings::commandLineStartWait().count());
        while (!reply && !deadline.hasExpired()) {
            QThread::msleep(ulong(Timings::commandLinePoll().count()));
            reply = SingleInstance::send(home, verb, link);
        }
    }
    if (!reply) {
        err << "Varrow is not running and could not be started.\n";
        return Unreachable;
    }
    if (reply->isEmpty()) return Done;
    err << *reply << '\n';
    return Failed;
}

QString LinkCommand::handle(model::ProfileStore& store, claude::ClaudeController& claude,
                            const QString& link) {
    // A link may reach a Varrow that was started for it before start-up has settled.
    Helpers::shared().start(&store, &claude);
    return Helpers::shared().linkRouter()->route(link);
}

}  // namespace varrow::app
