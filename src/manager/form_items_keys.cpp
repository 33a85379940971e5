// The tree's keys: each presses its button, so the button's enabling rules
// hold for the key too; F2 goes to the name field, Enter and Esc back;
// the history's keys work all over the window.

#include "manager/form_items.h"

namespace rz {

namespace {

bool Held(int key) { return ::GetKeyState(key) < 0; }

}  // namespace

TButton* TFormItems::ButtonOfKey(WORD key) {
    // AltGr arrives as Ctrl+Alt: a typed character, not a command.
    if (Held(VK_MENU)) return nullptr;
    if (!Held(VK_CONTROL)) {
        if (key == VK_DELETE) return &BitBtnDelete;
        if (key == VK_RETURN) return &BitBtnLaunch;
        return nullptr;
    }
    switch (key) {
        case 'X': return &BitBtnCut;
        case 'C': return &BitBtnCopy;
        case 'V': return &BitBtnPaste;
        case 'S': return &BitBtnSave;
        default: return nullptr;
    }
}

bool TFormItems::HistoryKey(WORD key) {
    if (Held(VK_MENU) || !Held(VK_CONTROL)) return false;
    if (key == 'Z' && !Held(VK_SHIFT)) UndoStep();
    else if (key == 'Y' || key == 'Z') RedoStep();
    else return false;
    return true;
}

void TFormItems::TVItemsKeyDown(TObject*, WORD key, bool& handled) {
    if (HistoryKey(key)) {
        handled = true;
    } else if (key == VK_F2 && !Held(VK_CONTROL) && !Held(VK_MENU)) {
        BeginRename();
        handled = true;
    } else if (TButton* button = ButtonOfKey(key)) {
        button->Click();
        handled = true;
    }
}

void TFormItems::BeginRename() {
    if (!EditSName.Enabled()) return;
    EditSName.SetFocus();
    ::SendMessageA(EditSName.Handle(), EM_SETSEL, 0, -1);
}

void TFormItems::EditSNameKeyDown(TObject* sender, WORD key, bool& handled) { FieldKeyDown(sender, key, handled); }

void TFormItems::EditSParamsKeyDown(TObject* sender, WORD key, bool& handled) { FieldKeyDown(sender, key, handled); }

// Enter and Esc end the typing: what was typed is in the tree already, and
// the keyboard goes back to the tree.
void TFormItems::FieldKeyDown(TObject* sender, WORD key, bool& handled) {
    if (key != VK_RETURN && key != VK_ESCAPE) {
        FieldHistoryKey(sender, key, handled);
        return;
    }
    DropTypedCharacter(static_cast<TControl*>(sender)->Handle());
    FocusTree();
    handled = true;
}

void TFormItems::FocusTree() {
    if (TTreeNode* sel = TVItems.Selected()) TVItems.Select(sel);
    FocusControl(TVItems);
}

// In the fields too, Ctrl+Z takes back the typing of a whole name, not the
// field's last keystroke.
void TFormItems::FieldHistoryKey(TObject* field, WORD key, bool& handled) {
    if (!HistoryKey(key)) return;
    handled = true;
    // The field would take the character the key also made as its own undo.
    DropTypedCharacter(static_cast<TControl*>(field)->Handle());
}

void TFormItems::DropTypedCharacter(HWND field) {
    MSG typed;
    if (::PeekMessageW(&typed, field, WM_CHAR, WM_CHAR, PM_NOREMOVE) && typed.wParam < 0x20)
        ::PeekMessageW(&typed, field, WM_CHAR, WM_CHAR, PM_REMOVE);
}

void TFormItems::AnyControlKeyDown(TObject*, WORD key, bool& handled) { handled = HistoryKey(key); }

void TFormItems::HookKeys() {
    TVItems.OnKeyDown = [this](TObject* s, WORD key, bool& handled) { TVItemsKeyDown(s, key, handled); };
    TVItems.OwnDialogKeys = {VK_RETURN};
    EditSName.OnKeyDown = [this](TObject* s, WORD key, bool& handled) { EditSNameKeyDown(s, key, handled); };
    EditSName.OwnDialogKeys = {VK_ESCAPE, VK_RETURN};
    EditSParams.OnKeyDown = [this](TObject* s, WORD key, bool& handled) { EditSParamsKeyDown(s, key, handled); };
    EditSParams.OwnDialogKeys = {VK_ESCAPE, VK_RETURN};
    TVItems.ListenToKeys();
    EditSName.ListenToKeys();
    EditSParams.ListenToKeys();
    // Wherever the keyboard is in the window - but in the field of a new
    // item's text, which keeps its own - the history keys work.
    for (TControl* c : std::initializer_list<TControl*>{&RBFile, &RBFileDirectory, &RBSeparator, &RBFolder, &BitBtnFind,
                                                        &BitBtnAttach, &BitBtnCut, &BitBtnCopy, &BitBtnPaste,
                                                        &BitBtnDelete, &BitBtnLaunch, &BitBtnHelp, &BitBtnSweep,
                                                        &BitBtnUndo, &BitBtnSave, &BitBtnClose}) {
        c->OnKeyDown = [this](TObject* s, WORD key, bool& handled) { AnyControlKeyDown(s, key, handled); };
        c->ListenToKeys();
    }
}

}  // namespace rz
