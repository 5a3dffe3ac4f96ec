#include "model/Defaults.h"

#include <QHash>
#include <QRegularExpression>
#include <cmath>

namespace varrow::model {

namespace {

const QHash<QString, QVariant>& registered() {
    static const QHash<QString, QVariant> table{
        {Defaults::kSwitcherStyle, QStringLiteral("edge")},
        {Defaults::kCycleHotKeyEnabled, true},
        {Defaults::kDidSetUpLoginItem, false},
        {Defaults::kSendSignInLinks, true},
        {Defaults::kLinkHandlerTaken, false},
        {Defaults::kGnomeExtensionOffered, false},
        {Defaults::kStartClaudeThroughXwayland, true},
        {Defaults::kSleepIdleAccounts, false},
        {Defaults::kSleepAfterSeconds, 4 * 3600},
    };
    return table;
}

std::unique_ptr<Defaults>& sharedSlot() {
    static std::unique_ptr<Defaults> slot;
    return slot;
}

QString& testFile() {
    static QString path;
    return path;
}

}  // namespace

Defaults::Defaults(std::unique_ptr<QSettings> settings) : settings_(std::move(settings)) {}

Defaults& Defaults::shared() {
    auto& slot = sharedSlot();
    if (!slot) {
        auto settings = testFile().isEmpty()
                            ? std::make_unique<QSettings>(QStringLiteral("Varrow"), QStringLiteral("Varrow"))
                            : std::make_unique<QSettings>(testFile(), QSettings::IniFormat);
        slot.reset(new Defaults(std::move(settings)));
    }
    return *slot;
}

void Defaults::useFileForTests(const QString& path) {
    testFile() = path;
    auto& slot = sharedSlot();
    if (!slot) return;
    // Keep the object (observers hold it); swap only what it reads and writes.
    slot->settings_ = path.isEmpty()
                          ? std::make_unique<QSettings>(QStringLiteral("Varrow"), QStringLiteral("Varrow"))
                          : std::make_unique<QSettings>(path, QSettings::IniFormat);
}

QVariant Defaults::value(const QString& key) const {
    if (settings_->contains(key)) return settings_->value(key);
    return registered().value(key);
}

bool Defaults::contains(const QString& key) const {
    return settings_->contains(key);
}

void Defaults::setValue(const QString& key, const QVariant& value) {
    settings_->setValue(key, value);
    settings_->sync();
    emit changed(key);
}

void Defaults::remove(const QString& key) {
    settings_->remove(key);
    settings_->sync();
    emit changed(key);
}

QString Defaults::switcherStyle() const {
    return value(kSwitcherStyle).toString();
}

bool Defaults::cycleHotKeyEnabled() const {
    const QVariant v = value(kCycleHotKeyEnabled);
    // QSettings hands INI booleans back as text.
    if (v.typeId() == QMetaType::QString) return v.toString() == u"true" || v.toString() == u"1";
    return v.toBool();
}

bool Defaults::didSetUpLoginItem() const {
    return flag(kDidSetUpLoginItem);
}

bool Defaults::sendSignInLinks() const {
    return flag(kSendSignInLinks);
}

bool Defaults::gnomeExtensionOffered() const {
    return flag(kGnomeExtensionOffered);
}

bool Defaults::linkHandlerTaken() const {
    return flag(kLinkHandlerTaken);
}

bool Defaults::startClaudeThroughXwayland() const {
    return flag(kStartClaudeThroughXwayland);
}

std::optional<std::chrono::seconds> Defaults::sleepAfter() const {
    if (!flag(kSleepIdleAccounts)) return std::nullopt;
    bool ok = false;
    const qlonglong seconds = value(kSleepAfterSeconds).toLongLong(&ok);
    // Nonsense in the file leaves sleeping off rather than quitting accounts at once.
    if (!ok || seconds <= 0) return std::nullopt;
    return std::chrono::seconds(seconds);
}

bool Defaults::flag(const QString& key) const {
    const QVariant v = value(key);
    // QSettings hands INI booleans back as text.
    if (v.typeId() == QMetaType::QString) return v.toString() == u"true" || v.toString() == u"1";
    return v.toBool();
}

std::optional<QPointF> Defaults::switcherFloatingOrigin() const {
    if (!contains(kSwitcherFloatingOrigin)) return std::nullopt;
    return pointFromString(value(kSwitcherFloatingOrigin).toString());
}

void Defaults::setSwitcherFloatingOrigin(const QPointF& topLeft) {
    setValue(kSwitcherFloatingOrigin, pointToString(topLeft));
}

QString Defaults::pointToString(const QPointF& point) {
    auto number = [](qreal v) { return QString::number(v, 'g', 15); };
    return QStringLiteral("{%1, %2}").arg(number(point.x()), number(point.y()));
}

std::optional<QPointF> Defaults::pointFromString(const QString& text) {
    static const QRegularExpression form(
        QStringLiteral("^\\s*\\{\\s*([-+0-9.eE]+)\\s*,\\s*([-+0-9.eE]+)\\s*\\}\\s*$"));
    const auto match = form.match(text);
    if (!match.hasMatch()) return std::nullopt;
    bool okX = false, okY = false;
    const double x = match.captured(1).toDouble(&okX);
    const double y = match.captured(2).toDouble(&okY);
    if (!okX || !okY || !std::isfinite(x) || !std::isfinite(y)) return std::nullopt;
    return QPointF(x, y);
}

}  // namespace varrow::model
