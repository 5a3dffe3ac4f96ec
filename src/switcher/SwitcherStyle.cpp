#include "switcher/SwitcherStyle.h"

#include <QCoreApplication>

namespace varrow::switcher::styles {

const QList<SwitcherStyle>& allCases() {
    static const QList<SwitcherStyle> all{SwitcherStyle::Edge, SwitcherStyle::Floating, SwitcherStyle::Off};
    return all;
}

QString rawValue(SwitcherStyle style) {
    switch (style) {
        case SwitcherStyle::Edge:
            return QStringLiteral("edge");
        case SwitcherStyle::Floating:
            return QStringLiteral("floating");
        case SwitcherStyle::Off:
            return QStringLiteral("off");
    }
    return QStringLiteral("edge");
}

QString label(SwitcherStyle style) {
    switch (style) {
        case SwitcherStyle::Edge:
            return QCoreApplication::translate("SwitcherStyle", "Pull-out tab");
        case SwitcherStyle::Floating:
            return QCoreApplication::translate("SwitcherStyle", "Floating bar");
        case SwitcherStyle::Off:
            return QCoreApplication::translate("SwitcherStyle", "Off", "no switcher");
    }
    return {};
}

std::optional<SwitcherStyle> fromRawValue(const QString& raw) {
    for (SwitcherStyle s : allCases())
        if (rawValue(s) == raw) return s;
    return std::nullopt;
}

SwitcherStyle fromStored(const QString& stored) {
    return fromRawValue(stored).value_or(SwitcherStyle::Edge);
}

}  // namespace varrow::switcher::styles
