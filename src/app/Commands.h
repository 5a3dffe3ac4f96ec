#pragma once

#include "model/Profile.h"

#include <QHash>
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

// The requests a running Varrow answers on its local socket (see SingleInstance and the words
// in Requests.h): one table, one entry per request.
class Commands {
public:
    // Shows the accounts window; cycles as the hot key does (backwards or not).
    struct Shell {
        std::function<void()> showWindow;
        std::function<void(bool backwards)> cycle;
        // Passes a sign-in link on: empty when done, else a sentence.
        std::function<QString(const QString& link)> openLink;
    };

    Commands(model::ProfileStore* store, claude::ClaudeController* claude, Shell shell);

    // The reply text; none for a request the table does not have.
    std::optional<QString> handle(const QString& command, const QString& argument) const;

private:
    using Handler = std::function<QString(const QString& argument)>;
    // Runs the action for the account with exactly that name, or answers that there is none.
    Handler forAccount(std::function<QString(const model::Profile&)> action) const;

    model::ProfileStore* store_;
    QHash<QString, Handler> table_;
};

}  // namespace varrow::app
