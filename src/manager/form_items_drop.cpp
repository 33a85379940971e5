// Files, directories and shortcuts dropped from the shell become items
// right after the entry under the drop point.

#include "core/Launching.h"
#include "items/ItemKinds.h"
#include "manager/ShellTarget.h"
#include "manager/form_items.h"
#include "support/UcvSysStr.h"

namespace rz {

namespace {

constexpr char kMsgDropOnProgramItem[] = "You can not drop items on following type: \"Program item\"";
constexpr char kMsgShortcutLeadsNowhere[] = "The shortcut does not lead to an existing file or directory";

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
    ShellTarget item;
    if (!ReadShellTarget(fullPath, item)) {
        RefuseDrop(kMsgShortcutLeadsNowhere);
        return;
    }
    // Shift held: the directory's contents, as Import Folder brings them.
    if (item.directory && ::GetKeyState(VK_SHIFT) < 0) {
        ImportFolders({item.path}, CaptionOf(item), target);
        return;
    }
    TVItems.Select(InsertShellTarget(target, item, CaptionOf(item)));
}

TTreeNode* TFormItems::InsertShellTarget(TTreeNode* after, const ShellTarget& item, const std::string& caption) {
    const bool program = IsProgramFile(item.extension);
    // A directory keeps its trailing "\", so that it loads again as one.
    const int itemId = store.tables.AddLink(item.directory ? WithTrailingBackslash(item.path) : item.path,
                                            program ? &item.parameters : nullptr);
    const int icon = item.directory ? int(kIconDirectory) : AppendManagerIcon(item.path);
    return InsertEntryAfter(after, caption, icon, itemId);
}

}  // namespace rz
