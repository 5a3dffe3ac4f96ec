#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace varrow::switcher {

// Which switcher shows over Claude. Stored under "switcherStyle" as its raw value.
enum class SwitcherStyle { Edge, Floating, Off };

namespace styles {

// In picker order.
const QList<SwitcherStyle>& allCases();
QString rawValue(SwitcherStyle style);
// "Pull-out tab", "Floating bar", "Off".
QString label(SwitcherStyle style);
// None for any text other than the three raw values.
std::optional<SwitcherStyle> fromRawValue(const QString& raw);
// The stored text as the switcher reads it: missing or unknown text means edge.
SwitcherStyle fromStored(const QString& stored);

}  // namespace styles
}  // namespace varrow::switcher
