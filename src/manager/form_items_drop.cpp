// Files, directories and shortcuts dropped from the shell become items
// right after the entry under the drop point.

#include <utility>

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

// A shortcut gives the item of its target; false when it gives none or the
// system says the target is not there. A target on a drive that is not ready
// or a server that does not answer is taken, as the sweep would keep it.
bool ReadDropped(const std::string& fullPath, DroppedItem& item) {
    Classify(item, fullPath);
    if (LowerCase(item.extension) != ".lnk") return true;
    ShortcutInfo link;
    ResolveShortcut(fullPath, link);
    if (link.target.empty() || PlainlyMissing(link.target)) return false;
    Classify(item, LongPathOf(link.target));
    item.parameters = link.arguments;
    return true;
}

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
    dropBatch_.last = InsertEntryAfter(target, LinkCaption(item.path, item.directory), icon, itemId);
}

void TFormItems::TVItemsDropFilesDone(TObject*) {
    const DropBatch done = std::exchange(dropBatch_, DropBatch{});
    if (done.last) TVItems.Select(done.last);
    if (!done.refused) {
        // What an earlier drop refused is no longer news.
        if (done.last) ClearStatusMessage();
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
