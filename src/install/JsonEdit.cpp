#include "install/JsonEdit.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace varrow::install {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Finds where things are in text Qt has already accepted as JSON; it checks no more than it needs.
class Scanner {
public:
    Scanner(const QByteArray& text, qsizetype at) : s_(text), i_(at) {}
    qsizetype at() const { return i_; }

    void skipSpace() {
        while (i_ < s_.size() && isSpace(s_[i_])) ++i_;
    }
    bool peek(char c) {
        skipSpace();
        return i_ < s_.size() && s_[i_] == c;
    }
    bool take(char c) {
        if (!peek(c)) return false;
        ++i_;
        return true;
    }
    bool skipString() {
        if (i_ >= s_.size() || s_[i_] != '"') return false;
        for (++i_; i_ < s_.size(); ++i_) {
            if (s_[i_] == '\\') {
                ++i_;
            } else if (s_[i_] == '"') {
                ++i_;
                return true;
            }
        }
        return false;
    }
    bool skipValue() {
        skipSpace();
        if (i_ >= s_.size()) return false;
        if (s_[i_] == '"') return skipString();
        if (s_[i_] == '{' || s_[i_] == '[') {
            int depth = 0;
            while (i_ < s_.size()) {
                const char c = s_[i_];
                if (c == '"') {
                    if (!skipString()) return false;
                    continue;
                }
                ++i_;
                if (c == '{' || c == '[')
                    ++depth;
                else if ((c == '}' || c == ']') && --depth == 0)
                    return true;
            }
            return false;
        }
        const qsizetype start = i_;
        while (i_ < s_.size() && !isSpace(s_[i_]) && s_[i_] != ',' && s_[i_] != '}' && s_[i_] != ']') ++i_;
        return i_ > start;
    }

private:
    const QByteArray& s_;
    qsizetype i_;
};

struct Member {
    QString key;
    qsizetype keyStart = 0;
    qsizetype keyEnd = 0;
    qsizetype valueStart = 0;
    qsizetype valueEnd = 0;
};

struct Object {
    qsizetype open = 0;   // at '{'
    qsizetype close = 0;  // at '}'
    QList<Member> members;
};

QString decodeKey(const QByteArray& quoted) {
    if (!quoted.contains('\\')) return QString::fromUtf8(quoted.mid(1, quoted.size() - 2));
    return QJsonDocument::fromJson('[' + quoted + ']').array().at(0).toString();
}

std::optional<Object> readObject(const QByteArray& text, qsizetype at) {
    Scanner scan(text, at);
    scan.skipSpace();
    Object object{scan.at(), 0, {}};
    if (!scan.take('{')) return std::nullopt;
    if (!scan.peek('}')) {
        do {
            Member member;
            scan.skipSpace();
            member.keyStart = scan.at();
            if (!scan.skipString()) return std::nullopt;
            member.keyEnd = scan.at();
            if (!scan.take(':')) return std::nullopt;
            scan.skipSpace();
            member.valueStart = scan.at();
            if (!scan.skipValue()) return std::nullopt;
            member.valueEnd = scan.at();
            member.key = decodeKey(text.mid(member.keyStart, member.keyEnd - member.keyStart));
            object.members.append(member);
        } while (scan.take(','));
    }
    if (!scan.peek('}')) return std::nullopt;
    object.close = scan.at();
    return object;
}

// Sets the member at `path` of the object starting at `at`, in place; false when there is none
// such object on the way.
bool setMember(QByteArray& text, qsizetype at, const QStringList& path, const QByteArray& value) {
    const auto object = readObject(text, at);
    if (!object) return false;
    QList<Member> named;
    for (const Member& member : object->members)
        if (member.key == path.first()) named.append(member);
    // Readers keep the last of duplicated members.
    if (path.size() > 1)
        return !named.isEmpty() && setMember(text, named.last().valueStart, path.mid(1), value);
    if (named.isEmpty()) {
        const QByteArray key = JsonEdit::text(path.first());
        if (object->members.isEmpty()) {
            text.insert(object->close, key + ':' + value);
            return true;
        }
        // Laid out as the first member is: the same spacing before the key and around the colon.
        const Member& first = object->members.first();
        const QByteArray colon = text.mid(first.keyEnd, first.valueStart - first.keyEnd);
        const QByteArray lead = text.mid(object->open + 1, first.keyStart - object->open - 1);
        text.insert(first.keyStart, key + colon + value + ',' + lead);
        return true;
    }
    for (auto member = named.crbegin(); member != named.crend(); ++member)
        text.replace(member->valueStart, member->valueEnd - member->valueStart, value);
    return true;
}

QJsonObject setIn(QJsonObject object, const QStringList& path, const QJsonValue& value) {
    if (path.size() == 1)
        object.insert(path.first(), value);
    else
        object.insert(path.first(), setIn(object.value(path.first()).toObject(), path.mid(1), value));
    return object;
}

}  // namespace

std::optional<QByteArray> JsonEdit::apply(const QByteArray& json, const QList<Edit>& edits) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) return std::nullopt;
    QJsonObject expected = doc.object();
    QByteArray edited = json;
    bool inPlace = true;
    for (const Edit& edit : edits) {
        if (edit.path.isEmpty()) continue;
        expected = setIn(expected, edit.path, edit.value);
        inPlace = inPlace && setMember(edited, 0, edit.path, text(edit.value));
    }
    if (inPlace && QJsonDocument::fromJson(edited).object() == expected) return edited;
    return QJsonDocument(expected).toJson(QJsonDocument::Compact);
}

QByteArray JsonEdit::text(const QJsonValue& value) {
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

}  // namespace varrow::install
