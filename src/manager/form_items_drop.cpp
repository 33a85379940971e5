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

void TFormItems::TVItemsDropFiles(TObject*, const std::string& fullPath, const POINT& at) {
    if (fullPath.empty()) return;
    // Shift as it is when the drop arrives, not as this window last heard
    // of it: the drag came from another program, which had the keyboard.
    if (dropBatch_.files++ == 0) dropBatch_.shift = ::GetAsyncKeyState(VK_SHIFT) < 0;
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
    // The files of one drop are one step to take back.
    EditStep step(commands.history, "Drop", TypingKey{kTypingDrop, &dropBatch_});
    // Shift held: the directory's contents, as Import Folder brings them.
    if (item.directory && dropBatch_.shift) {
        if (TTreeNode* imported = ImportFolders({item.path}, CaptionOf(item), target)) {
            dropBatch_.last = imported;
            dropBatch_.imported = true;
            ++dropBatch_.added;
        }
        return;
    }
    dropBatch_.last = commands.AddLink(target, item, CaptionOf(item));
    ++dropBatch_.added;
}

void TFormItems::TVItemsDropFilesDone(TObject*) {
    const DropBatch done = std::exchange(dropBatch_, DropBatch{});
    if (done.added > 0) {
        commands.history.RelabelLast(
            TypingKey{kTypingDrop, &dropBatch_},
            done.added == 1 ? "Drop of 1 file" : "Drop of " + std::to_string(done.added) + " files");
        commands.history.Seal();
    }
    if (done.last) TVItems.Select(done.last);
    FocusTree();
    if (!done.refused) {
        // An import says what it brought itself.
        if (done.last && !done.imported)
            StatusMessage(done.added == 1 ? "Added " + NamedEntry(done.last)
                                          : "Added " + std::to_string(done.added) + " items");
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
