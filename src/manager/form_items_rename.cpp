// Renaming the selected entry through the name field, with the folder and
// separator rules, and editing a program's parameters.

#include "manager/FolderRules.h"
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

void TFormItems::EditSNameEnter(TObject*) { lastAcceptedName_ = EditSName.Text(); }

void TFormItems::EditSNameExit(TObject*) { lastAcceptedName_.clear(); }

void TFormItems::EditSNameChange(TObject*) {
    TTreeNode* sel = TVItems.Selected();
    if (!sel || !IsUserEntry(sel)) return;
    const std::string typed = EditSName.Text();
    const int caret = EditSName.SelStart();
    std::string name = WithoutDelimiters(typed);
    int nameCaret = CaretWithout(typed, caret, kListDelimiters);
    if (IsFolderEntry(sel)) {
        if (const char* refusal = FolderNameRefusal(name, sel, false)) {
            StatusMessage(refusal);
            return;
        }
    } else if (IsSeparatorEntry(sel)) {
        const std::string bare = WithoutCharacters(name, "-");
        const bool plain = bare.empty();
        name = plain ? std::string(kNorSepText) : "--" + bare + "--";
        nameCaret = plain ? static_cast<int>(name.size()) : 2 + CaretWithout(typed, caret, "^|-");
        const int icon = plain ? kIconNorSep : kIconSpeSep;
        sel->SetImageIndex(icon);
        sel->SetSelectedIndex(icon);
        DrawTypeImage(icon, COLOR_MENU);
    }
    lastAcceptedName_ = name;
    Rewrite(EditSName, name, nameCaret);
    sel->SetText(name);
    // A new name can change what may be pasted here.
    RefreshButtons();
}

void TFormItems::EditSParamsChange(TObject*) {
    TTreeNode* sel = TVItems.Selected();
    if (!sel || !IsLinkEntry(sel) || IsSystemEntry(sel)) return;
    const std::string typed = EditSParams.Text();
    const std::string params = WithoutDelimiters(typed);
    store.SetItemParams(sel->ItemId, params);
    Rewrite(EditSParams, params, CaretWithout(typed, EditSParams.SelStart(), kListDelimiters));
}

}  // namespace rz
