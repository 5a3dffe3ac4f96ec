// The Dock's stored item list as another program left it: any property-list value under the key.
// Reading must not crash; adding and tidying must never drop or reorder the user's own items.
#include "FuzzSupport.h"
#include "platform/Platform.h"
#include "platform/fake/FakePreferences.h"
#include "platform/linux/PlistValue.h"
#include "system/DockPin.h"

using namespace varrow;
using system::DockPin;

namespace {

platform::fake::FakePreferences& preferences() {
    static platform::fake::FakePreferences* prefs = [] {
        auto owned = std::make_unique<platform::fake::FakePreferences>();
        auto* raw = owned.get();
        platform::Services services;
        services.preferences = std::move(owned);
        platform::Platform::install(std::move(services));
        return raw;
    }();
    return *prefs;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto value = platform::linux_::PlistValue::parse(fuzz::bytesOf(data, size));
    if (!value) return 0;
    auto& prefs = preferences();
    const QString domain = QString::fromLatin1(DockPin::kDomain), key = QString::fromLatin1(DockPin::kKey);
    prefs.domains[domain] = QVariantMap{{key, *value}};

    const auto tiles = DockPin::tiles();
    if (tiles)
        for (const QVariant& tile : *tiles) DockPin::url(tile.toMap());
    DockPin::isPinned(QStringLiteral("/nowhere/Apps/Claude Work.app"));

    // Tidying a folder that holds nothing keeps every tile outside it, in order.
    DockPin::removeMissing(QStringLiteral("/nowhere/Apps"));
    const QVariant afterTidy = prefs.copyAppValue(key, domain);
    if (tiles) {
        const QVariantList kept = afterTidy.toList();
        qsizetype k = 0;
        for (const QVariant& tile : *tiles) {
            const auto url = DockPin::url(tile.toMap());
            if (url && url->startsWith(DockPin::urlString(QStringLiteral("/nowhere/Apps")))) continue;
            fuzz::check(k < kept.size() && kept[k] == tile, "tidying keeps other tiles in order");
            ++k;
        }
    } else {
        fuzz::check(afterTidy == *value, "an unreadable list is left as it was");
    }

    const QVariant before = prefs.copyAppValue(key, domain);
    DockPin::add(QStringLiteral("/nowhere/Apps/Claude Work.app"));
    const QVariant after = prefs.copyAppValue(key, domain);
    if (!tiles) {
        fuzz::check(after == before, "adding never replaces a list it cannot read");
    } else {
        const QVariantList was = before.toList(), now = after.toList();
        fuzz::check(now.size() >= was.size(), "adding never drops items");
        for (qsizetype i = 0; i < was.size(); ++i) fuzz::check(now[i] == was[i], "adding keeps items in order");
    }
    return 0;
}
