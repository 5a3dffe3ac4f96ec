#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QList>
#include <QStringList>
#include <optional>

namespace varrow::install {

// Small edits to JSON text that leave everything else as it was: other members, their order,
// the spacing. Qt's own writer would sort every object's keys.
class JsonEdit {
public:
    struct Edit {
        QStringList path;  // a member of nested objects: {"files", "package.json", "size"}
        QJsonValue value;
    };

    // The object in `json` with each edit applied in order; a missing last member of a path is
    // added first in its object, a duplicated one set everywhere. Should the text not read back as
    // exactly that object (a member on the path is not an object, say), the edited object is
    // written out afresh instead. None when `json` is not a JSON object.
    static std::optional<QByteArray> apply(const QByteArray& json, const QList<Edit>& edits);

    // One value as JSON text: "\"a\"", "12", "{...}".
    static QByteArray text(const QJsonValue& value);
};

}  // namespace varrow::install
