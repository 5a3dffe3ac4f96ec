#pragma once

#include "platform/PinnedApps.h"

#include <QStringList>
#include <functional>
#include <optional>

namespace varrow::install {

// GNOME Shell's favourite applications (the dash), read and written with gsettings in the
// background.
class ShellFavourites : public platform::PinnedApps {
    Q_OBJECT
public:
    using PinnedApps::PinnedApps;

    Kind kind() const override { return Kind::Favourites; }
    bool contains(const QString& appPath) const override;
    void refresh() override;
    void add(const QString& appPath, Done done) override;

    // Runs gsettings in the background (owned by `owner`, killed after the helper tools' timeout);
    // done runs on the main thread with its output, or the failure in gsettings's own words.
    static void runTool(QObject* owner, const QString& program, const QStringList& arguments,
                        std::function<void(Result<QString>)> done);

    // GVariant text of a string array ("['a.desktop', 'b.desktop']", or "@as []"), both ways.
    static std::optional<QStringList> parse(const QString& text);
    static QString format(const QStringList& ids);

private:
    // Runs gsettings; done gets its standard output, or the failure with its reason.
    void run(const QStringList& arguments, std::function<void(Result<QString>)> done);
    void read(std::function<void(Result<QStringList>)> done);
    static QString tool();

    QStringList ids_;
};

}  // namespace varrow::install
