#pragma once

#include "model/Profile.h"

#include <QObject>
#include <QUuid>
#include <optional>

namespace varrow::platform {
class Installations;
class Processes;
}  // namespace varrow::platform

namespace varrow::claude {

class ClaudeController;

// Passes a claude: link (the end of a sign-in in the browser) to the account that asked for it:
// the one whose Claude was last in front before the link came, else My Claude. It is handed over
// as Claude hands a second start to the first: that account's Claude is run on the account's
// own data folder with the link as one argument, and passes it to the running instance.
class LinkRouter : public QObject {
    Q_OBJECT
public:
    LinkRouter(ClaudeController* claude, platform::Processes& processes,
               platform::Installations& installations, QObject* parent = nullptr);

    static bool isClaudeLink(const QString& link);
    // The account the next link goes to; none only when the list has no account at all.
    std::optional<model::Profile> target() const;
    // Starts the hand-over and logs "link → NAME" in the switch log. Empty when under way, else a
    // sentence saying why not.
    QString route(const QString& link);

private:
    ClaudeController* claude_;
    platform::Processes& processes_;
    platform::Installations& installations_;
    std::optional<QUuid> lastFront_;
};

}  // namespace varrow::claude
