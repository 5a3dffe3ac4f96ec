#pragma once

#include <QString>
#include <QVariant>
#include <optional>

namespace varrow::platform::linux_ {

// Property-list values as QVariant and back: dict <-> QVariantMap, array <-> QVariantList,
// string <-> QString, integer <-> qint64, real <-> double, bool, data <-> QByteArray,
// date <-> QDateTime (UTC).
namespace PlistValue {

// Parses XML or binary property-list bytes; none when they are not a property list.
std::optional<QVariant> parse(const QByteArray& bytes);
std::optional<QVariant> readFile(const QString& path);

// XML property-list text of a value; empty when the value has no property-list form.
QByteArray toXml(const QVariant& value);
// Writes the value as an XML property list, atomically; false on failure.
bool writeFile(const QString& path, const QVariant& value);

}  // namespace PlistValue

}  // namespace varrow::platform::linux_
