// Account names are free text: the data-folder name and the initials made from any of them must
// be safe to use as one path component and to draw.
#include "FuzzSupport.h"
#include "model/ProfileStore.h"

using namespace varrow;
using model::Profile;
using model::ProfileStore;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString name = fuzz::textOf(data, size);

    const QString folder = ProfileStore::folderName(name);
    fuzz::check(Profile::isPlainFolderName(folder), "folder name is one plain path component");
    fuzz::check(!folder.startsWith(u'-') && !folder.startsWith(u'.'), "folder name starts safely");
    // NAME_MAX: a longer component cannot be created at all.
    fuzz::check(folder.toUtf8().size() <= 255, "folder name fits a file-system name");
    for (QChar c : folder)
        fuzz::check(c != u'\0' && c.category() != QChar::Other_Control,
                    "no control characters in folder name");
    fuzz::check(folder.size() > 5 && folder.at(folder.size() - 5) == u'-', "random suffix is present");

    Profile p;
    p.name = name;
    const QString initials = p.initials();
    fuzz::check(!initials.isEmpty(), "initials are never empty");
    return 0;
}
