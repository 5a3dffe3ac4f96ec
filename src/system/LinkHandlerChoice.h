#pragma once

#include <QObject>
#include <QString>
#include <optional>

namespace varrow::model {
class ProfileStore;
}
namespace varrow::platform {
class LinkHandlers;
}

namespace varrow::system {

// Makes Varrow the handler of claude: links while "Send sign-in links to the account that asked"
// is on and there is an account besides My Claude, and gives back the handler it took over as
// soon as either stops being true. Re-evaluated on every list change and change of the setting.
class LinkHandlerChoice : public QObject {
    Q_OBJECT
public:
    static constexpr auto kScheme = "claude";

    LinkHandlerChoice(model::ProfileStore* store, platform::LinkHandlers& handlers,
                      QObject* parent = nullptr);

    // Whether Varrow should hold the handler now.
    bool wanted() const;
    // Takes or gives back the handler as wanted() says; a failure is one system-log line, and
    // its sentence is returned (empty when all went well).
    QString apply();

    // Whether a handler is Claude's own entry, which Claude makes the handler at its every start.
    static bool isClaudesOwnEntry(const QString& handler);

    // Gives claude: links back to the handler they had before Varrow took them (unless the user
    // picked another since) and removes Varrow's entry; the sentence of a failure, else empty.
    static QString giveBack(platform::LinkHandlers& handlers);

private:
    // While Varrow holds the handler, a Claude that claimed it at its start is undone at once,
    // so links keep reaching the account that asked.
    void takeBackFromClaude();
    QString take();

    model::ProfileStore* store_;
    platform::LinkHandlers& handlers_;
    std::optional<bool> applied_;  // what the last apply() found wanted
};

}  // namespace varrow::system
