#pragma once

#include "platform/PinnedApps.h"

#include <QSet>
#include <QTimer>
#include <optional>

namespace varrow::platform::fake {

// A pinned list of the kind a test chooses; adding finishes on the next turn of the event loop,
// as the desktop's tools do, or fails as the test says.
class FakePinnedApps : public PinnedApps {
public:
    using PinnedApps::PinnedApps;

    Kind kind() const override { return listKind; }
    bool contains(const QString& appPath) const override { return pinned.contains(appPath); }
    void refresh() override { ++refreshes; }
    void add(const QString& appPath, Done done) override {
        QTimer::singleShot(0, this, [this, appPath, done] {
            if (failure) return done(*failure);
            pinned.insert(appPath);
            emit changed();
            done({});
        });
    }

    Kind listKind = Kind::Favourites;
    QSet<QString> pinned;
    std::optional<Failure> failure;
    int refreshes = 0;
};

}  // namespace varrow::platform::fake
