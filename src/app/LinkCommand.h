#pragma once

#include <QString>

namespace varrow::model {
class ProfileStore;
}
namespace varrow::claude {
class ClaudeController;
}

namespace varrow::app {

// "varrow open-link URL", which the desktop runs for claude: links once Varrow is their handler:
// the running Varrow (started when none answers) passes the link to the account that asked.
class LinkCommand {
public:
    static constexpr auto kVerb = "open-link";
    enum Exit { Done = 0, Failed = 1, Usage = 2, Unreachable = 3 };

    // The client side, from main's arguments.
    static int run(int argc, char** argv);
    // The running Varrow's side of the request "open-link URL": empty when passed on, else a sentence.
    static QString handle(model::ProfileStore& store, claude::ClaudeController& claude, const QString& link);
};

}  // namespace varrow::app
