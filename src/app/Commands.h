#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace varrow::model {
class ProfileStore;
}
namespace varrow::claude {
class ClaudeController;
}

namespace varrow::app {

// What a running Varrow answers on its local socket (see SingleInstance):
//   show        brings the accounts window to the front
//   list        the status report, one line per account
//   front       the name of the account in front, or "-"
//   open NAME   opens the first account with exactly that name
//   quit        quits Varrow
class Commands {
public:
    static constexpr auto kUnknown = "unknown command\n";
    static constexpr auto kNoAccountPrefix = "no account named ";

    Commands(model::ProfileStore* store, claude::ClaudeController* claude, std::function<void()> showWindow);

    // The reply text; none for a command this list does not have.
    std::optional<QString> handle(const QString& command, const QString& argument);

private:
    model::ProfileStore* store_;
    claude::ClaudeController* claude_;
    std::function<void()> showWindow_;
};

}  // namespace varrow::app
