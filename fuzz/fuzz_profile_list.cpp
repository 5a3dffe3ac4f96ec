// The account list as read from profiles.json: whatever the bytes, reading must not crash, and a
// list that reads must write back to bytes that read as the same list.
#include "FuzzSupport.h"
#include "model/ProfileStore.h"

#include <QDir>

using namespace varrow;
using model::Profile;
using model::ProfileStore;

namespace {

// UTF-8 has no form for half a surrogate pair; the file keeps "?" in its place.
QString asStored(const QString& text) {
    return QString::fromUtf8(text.toUtf8());
}

Profile asStored(Profile p) {
    p.name = asStored(p.name);
    p.note = asStored(p.note);
    p.folderName = asStored(p.folderName);
    return p;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QString reason;
    const auto list = ProfileStore::decodeList(fuzz::bytesOf(data, size), &reason);
    if (!list) {
        fuzz::check(!reason.isEmpty(), "an unreadable list gives a reason");
        return 0;
    }
    const auto again = ProfileStore::decodeList(ProfileStore::encodeList(*list), &reason);
    fuzz::check(again.has_value(), "a saved list reads back");
    fuzz::check(again->size() == list->size(), "a saved list keeps every account");
    for (qsizetype i = 0; i < list->size(); ++i)
        fuzz::check(again->at(i) == asStored(list->at(i)), "a saved list reads back unchanged");

    const QString accounts = QStringLiteral("/home/u/Varrow/Accounts");
    for (const Profile& p : *list) {
        fuzz::check(!p.initials().isEmpty(), "initials are never empty");
        fuzz::check(!p.terminalCommand(accounts).isEmpty(), "a terminal command exists");
        if (const auto folder = p.dataFolder(accounts)) {
            // A hand-edited folder name must never reach outside the accounts folder.
            fuzz::check(QDir::cleanPath(*folder).startsWith(accounts + u'/'), "data folder stays inside");
            fuzz::check(QDir::cleanPath(*folder) != accounts, "data folder is not the accounts folder");
        }
    }
    return 0;
}
