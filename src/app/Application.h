#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace varrow::app {

// The whole program. "varrow" starts Varrow (or brings the running one's window to the front);
// "varrow list|show|quit|front" and "varrow open NAME" talk to the running one and print its reply.
int run(int argc, char** argv);

// The command-line requests understood by a running Varrow; none when args start Varrow itself.
struct CommandLineRequest {
    QString command;
    QString argument;
};
std::optional<CommandLineRequest> commandLineRequest(const QStringList& arguments);

}  // namespace varrow::app
