// The tree's keys: each presses its button, so the button's enabling rules
// hold for the key too; F2 and Esc move between the tree and the name field.

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
        case 'Z': return &BitBtnUndo;
        case 'S': return &BitBtnSave;
        default: return nullptr;
    }
}

void TFormItems::TVItemsKeyDown(TObject*, WORD key, bool& handled) {
    if (key == VK_F2 && !Held(VK_CONTROL) && !Held(VK_MENU)) {
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

void TFormItems::EditSNameKeyDown(TObject*, WORD key, bool& handled) {
    if (key != VK_ESCAPE) return;
    TVItems.SetFocus();
    handled = true;
}

void TFormItems::HookKeys() {
    TVItems.OnKeyDown = [this](TObject* s, WORD key, bool& handled) { TVItemsKeyDown(s, key, handled); };
    TVItems.OwnDialogKeys = {VK_RETURN};
    EditSName.OnKeyDown = [this](TObject* s, WORD key, bool& handled) { EditSNameKeyDown(s, key, handled); };
    EditSName.OwnDialogKeys = {VK_ESCAPE};
    TVItems.ListenToKeys();
    EditSName.ListenToKeys();
}

}  // namespace rz
