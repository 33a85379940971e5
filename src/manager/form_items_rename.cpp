// Renaming the selected entry through the name field, with the folder and
// separator rules, and editing a program's parameters.

#include <utility>

#include "manager/TypedText.h"
#include "manager/form_items.h"

namespace rz {

namespace {

// Writes a cleaned text back into the field the user types in, caret kept
// where the typing goes on (a plain rewrite puts it at the start).
void Rewrite(TEdit& field, const std::string& text, int caret) {
    if (field.Text() == text) return;
    field.SetText(text);
    field.SetSelStart(caret);
}

}  // namespace

void TFormItems::EditSNameEnter(TObject*) {
    commands.history.Seal();
    lastAcceptedName_ = EditSName.Text();
    renaming_ = TVItems.Selected();
    renamedFrom_ = renaming_ ? NamedEntry(renaming_) : std::string();
}

void TFormItems::EditSNameExit(TObject*) {
    commands.history.Seal();
    lastAcceptedName_.clear();
    // Said once the typing ends, not at every letter.
    TTreeNode* renamed = std::exchange(renaming_, nullptr);
    if (renamed && renamed == TVItems.Selected() && NamedEntry(renamed) != renamedFrom_)
        StatusMessage("Renamed " + renamedFrom_ + " to " + NamedEntry(renamed));
}

void TFormItems::EditSNameChange(TObject*) {
    TTreeNode* sel = TVItems.Selected();
    if (!sel || !IsUserEntry(sel)) return;
    const std::string typed = EditSName.Text();
    const int caret = EditSName.SelStart();
    const ItemCommands::Renamed renamed = commands.Rename(sel, WithoutDelimiters(typed));
    if (renamed.refusal) {
        StatusMessage(renamed.refusal);
        return;
    }
    int nameCaret = CaretWithout(typed, caret, kListDelimiters);
    if (IsSeparatorEntry(sel)) {
        const bool plain = renamed.image == kIconNorSep;
        nameCaret = plain ? static_cast<int>(renamed.name.size()) : 2 + CaretWithout(typed, caret, "^|-");
        DrawTypeImage(renamed.image, COLOR_MENU);
    }
    lastAcceptedName_ = renamed.name;
    Rewrite(EditSName, renamed.name, nameCaret);
    // A new name can change what may be pasted here.
    RefreshButtons();
}

void TFormItems::EditSParamsChange(TObject*) {
    TTreeNode* sel = TVItems.Selected();
    if (!sel || !IsLinkEntry(sel) || IsSystemEntry(sel)) return;
    const std::string typed = EditSParams.Text();
    const std::string params = WithoutDelimiters(typed);
    commands.SetParams(sel, params);
    Rewrite(EditSParams, params, CaretWithout(typed, EditSParams.SelStart(), kListDelimiters));
}

}  // namespace rz
