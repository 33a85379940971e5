// Files, directories and shortcuts dropped from the shell become items
// right after the entry under the drop point.

#include <utility>

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
    ++dropBatch_.refused;
    if (dropBatch_.reason.empty()) dropBatch_.reason = message;
}

int TFormItems::AppendManagerIcon(const std::string& path) {
    store.icons.InsertFileIcon(path, -1, false);
    ++TVItems.Tag;
    return store.icons.slots.break5 + TVItems.Tag;
}

void TFormItems::TVItemsDropFiles(TObject*, const std::string& fullPath, const POINT& at) {
    if (fullPath.empty()) return;
    ++dropBatch_.files;
    // Each file after the one before: the entries keep the drop's order.
    TTreeNode* target = dropBatch_.last ? dropBatch_.last : TVItems.GetNodeAt(at.x, at.y);
    if (!target || IsSystemEntry(target)) {
        RefuseDrop(kMsgDropOnProgramItem);
        return;
    }
    ShellTarget item;
    if (!ReadShellTarget(fullPath, item)) {
        RefuseDrop(kMsgShortcutLeadsNowhere);
        return;
    }
    // Shift held: the directory's contents, as Import Folder brings them.
    if (item.directory && ::GetKeyState(VK_SHIFT) < 0) {
        if (TTreeNode* imported = ImportFolders({item.path}, CaptionOf(item), target)) {
            dropBatch_.last = imported;
            dropBatch_.imported = true;
        }
        return;
    }
    dropBatch_.last = InsertShellTarget(target, item, CaptionOf(item));
}

TTreeNode* TFormItems::InsertShellTarget(TTreeNode* after, const ShellTarget& item, const std::string& caption) {
    const bool program = IsProgramFile(item.extension);
    // A directory keeps its trailing "\", so that it loads again as one.
    const int itemId = store.tables.AddLink(item.directory ? WithTrailingBackslash(item.path) : item.path,
                                            program ? &item.parameters : nullptr);
    const int icon = item.directory ? int(kIconDirectory) : AppendManagerIcon(item.path);
    return InsertEntryAfter(after, caption, icon, itemId);
}

void TFormItems::TVItemsDropFilesDone(TObject*) {
    const DropBatch done = std::exchange(dropBatch_, DropBatch{});
    if (done.last) TVItems.Select(done.last);
    if (!done.refused) {
        // What an earlier drop refused is no longer news.
        if (done.last && !done.imported) ClearStatusMessage();
        return;
    }
    // One chord and one line for the whole drop, however many were refused.
    PlaySystemSound(kSoundRefused);
    if (done.files == 1) {
        StatusMessage(done.reason);
        return;
    }
    StatusMessage(std::to_string(done.refused) + " of " + std::to_string(done.files) + " not added: " + done.reason);
}

}  // namespace rz
