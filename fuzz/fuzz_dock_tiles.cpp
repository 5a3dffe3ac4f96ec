// The Dock's stored item list as another program left it: any property-list value under the key.
// Reading must not crash; adding and tidying must never drop or reorder the user's own items.
// The value is built from the bytes directly (the shapes a tile list can take), so the Dock logic
// is explored apart from the property-list parser, which fuzz_info_plist covers.
#include "FuzzSupport.h"
#include "platform/Platform.h"
#include "platform/macos/DockPin.h"
#include "platform/macos/FakePreferences.h"

using namespace varrow;
using platform::DockPin;

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

// Consumes the input to build nested lists, dictionaries and texts shaped like Dock tiles.
class ValueBuilder {
public:
    ValueBuilder(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    QVariant value(int depth = 0) {
        switch (depth > 4 ? 0 : next() % 7) {
            case 0:
                return text();
            case 1:
                return qint64(next()) - 128;
            case 2:
                return bool(next() & 1);
            case 3: {
                QVariantList list;
                for (int n = next() % 5; n > 0 && left(); --n) list.append(value(depth + 1));
                return list;
            }
            case 6:
                return QByteArray(1, char(next()));
            default: {
                QVariantMap map;
                for (int n = next() % 4; n > 0 && left(); --n) map.insert(key(), value(depth + 1));
                return map;
            }
        }
    }

private:
    bool left() const { return at_ < size_; }
    uint8_t next() { return left() ? data_[at_++] : 0; }
    QString raw() {
        QString out;
        for (int n = next() % 12; n > 0 && left(); --n) out += QChar(next() < 0xF0 ? data_[at_ - 1] : 0xD800);
        return out;
    }
    QString key() {
        static const char* keys[] = {"tile-data", "file-data", "_CFURLString", "tile-type", "file-label"};
        const uint8_t pick = next();
        return pick < 200 ? QString::fromLatin1(keys[pick % 5]) : raw();
    }
    QString text() {
        static const char* starts[] = {"file:///nowhere/Apps/", "file:///nowhere/Apps/Claude%20Work.app/",
                                       "file:///Applications/", "file:///nowhere/Apps", ""};
        return QString::fromLatin1(starts[next() % 5]) + raw();
    }

    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ValueBuilder builder(data, size);
    const std::optional<QVariant> value = size ? builder.value() : QVariant();
    auto& prefs = preferences();
    const QString domain = QString::fromLatin1(DockPin::kDomain), key = QString::fromLatin1(DockPin::kKey);
    prefs.domains[domain] = QVariantMap{{key, *value}};

    const auto tiles = DockPin::tiles();
    if (tiles)
        for (const QVariant& tile : *tiles) DockPin::url(tile.toMap());
    DockPin dock;
    dock.contains(QStringLiteral("/nowhere/Apps/Claude Work.app"));

    // Tidying a folder that holds nothing keeps every tile outside it, in order.
    dock.removeMissing(QStringLiteral("/nowhere/Apps"));
    const QVariant afterTidy = prefs.copyAppValue(key, domain);
    if (tiles) {
        // The kept tiles are the old ones in order, less some under the folder (a URL there that
        // does not parse is kept, as is one whose file exists).
        const QVariantList kept = afterTidy.toList();
        const QString prefix = DockPin::urlString(QStringLiteral("/nowhere/Apps"));
        qsizetype k = 0;
        for (const QVariant& tile : *tiles) {
            if (k < kept.size() && kept[k] == tile) {
                ++k;
                continue;
            }
            const auto url = DockPin::url(tile.toMap());
            fuzz::check(url && url->startsWith(prefix), "tidying drops only tiles under the folder");
        }
        fuzz::check(k == kept.size(), "tidying keeps the other tiles in order");
    } else {
        fuzz::check(afterTidy == *value, "an unreadable list is left as it was");
    }

    const QVariant before = prefs.copyAppValue(key, domain);
    dock.add(QStringLiteral("/nowhere/Apps/Claude Work.app"));
    const QVariant after = prefs.copyAppValue(key, domain);
    if (!tiles) {
        fuzz::check(after == before, "adding never replaces a list it cannot read");
    } else {
        const QVariantList was = before.toList(), now = after.toList();
        fuzz::check(now.size() >= was.size(), "adding never drops items");
        for (qsizetype i = 0; i < was.size(); ++i)
            fuzz::check(now[i] == was[i], "adding keeps items in order");
    }
    return 0;
}
