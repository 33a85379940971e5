// Files, directories and shortcuts dropped from the shell become items
// right after the entry under the drop point.

#include "core/Launching.h"
#include "items/ItemKinds.h"
#include "manager/form_items.h"
#include "support/JCLPathes.h"
#include "support/JCLShortCuts.h"
#include "support/UcvSysIO.h"
#include "support/UcvSysStr.h"

namespace rz {

namespace {

constexpr char kMsgDropOnProgramItem[] = "You can not drop items on following type: \"Program item\"";
constexpr char kMsgShortcutLeadsNowhere[] = "The shortcut does not lead to an existing file or directory";

struct DroppedItem {
    std::string path;
    std::string parameters;
    std::string extension;  // empty for a directory, whatever its name
    bool directory = false;
};

void Classify(DroppedItem& item, const std::string& path) {
    item.path = path;
    // A directory before any extension rule: "Backup.2023" is no file of type "2023".
    item.directory = DirectoryExists(path);
    item.extension = item.directory ? std::string() : FileExtension(path);
}

// A shortcut gives the item of its target; false when that target is not there.
bool ReadDropped(const std::string& fullPath, DroppedItem& item) {
    Classify(item, fullPath);
    if (LowerCase(item.extension) != ".lnk") return true;
    ShortcutInfo link;
    if (FAILED(ResolveShortcut(fullPath, link)) || link.target.empty()) return false;
    Classify(item, LongPathOf(link.target));
    item.parameters = link.arguments;
    return item.directory || FileExists(item.path);
}

std::string CaptionOf(const DroppedItem& item) {
    const size_t cut = item.path.find_last_of("\\:");
    std::string name = cut == std::string::npos ? item.path : item.path.substr(cut + 1);
    // A drive root has no name of its own.
    if (name.empty()) return item.path.substr(0, item.path.find_last_not_of('\\') + 1);
    return item.directory ? name : NameWithoutExt(name);
}

}  // namespace

void TFormItems::RefuseDrop(const std::string& message) {
    PlaySystemSound(kSoundRefused);
    StatusMessage(message);
}

int TFormItems::AppendManagerIcon(const std::string& path) {
    store.icons.InsertFileIcon(path, -1, false);
    ++TVItems.Tag;
    return store.icons.slots.break5 + TVItems.Tag;
}

void TFormItems::TVItemsDropFiles(TObject*, const std::string& fullPath, const POINT& at) {
    TTreeNode* target = TVItems.GetNodeAt(at.x, at.y);
    if (!target || IsSystemEntry(target)) {
        RefuseDrop(kMsgDropOnProgramItem);
        return;
    }
    if (fullPath.empty()) return;
    DroppedItem item;
    if (!ReadDropped(fullPath, item)) {
        RefuseDrop(kMsgShortcutLeadsNowhere);
        return;
    }
    const bool program = IsProgramFile(item.extension);
    // A directory keeps its trailing "\", so that it loads again as one.
    const int itemId = store.tables.AddLink(item.directory ? WithTrailingBackslash(item.path) : item.path,
                                            program ? &item.parameters : nullptr);
    const int icon = item.directory ? int(kIconDirectory) : AppendManagerIcon(item.path);
    TVItems.Select(InsertEntryAfter(target, CaptionOf(item), icon, itemId));
}

}  // namespace rz
