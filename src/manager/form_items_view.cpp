// The item manager's display: properties of the selection, button states,
// the status line, Undo and the window's opening and closing.

#include "core/Settings.h"
#include "manager/form_items.h"
#include "support/EnvironmentText.h"
#include "support/UcvGraphics.h"
#include "support/UcvSysStr.h"

namespace rz {

namespace {

// The directory part with its trailing backslash.
std::string PathPart(const std::string& path) {
    size_t cut = path.find_last_of("\\:");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

// What a path that names variables is on this computer, after the typed
// text: the store keeps the text, other computers may expand it otherwise.
std::string ExpandedPathNote(const std::string& typed) {
    const ExpandedText expanded = ExpandVariables(typed);
    if (expanded.tooLong) return "  (too long once expanded)";
    if (!expanded.undefined.empty()) return "  (" + UndefinedVariablesText(expanded.undefined) + ")";
    return expanded.text == typed ? std::string() : "  = " + expanded.text;
}

}  // namespace

void TFormItems::AttachTreeChange(bool attach) {
    changeAttached_ = attach;
    if (attach) TVItems.OnChange = [this](TObject* s, TTreeNode* n) { TVItemsChange(s, n); };
    else TVItems.OnChange = nullptr;
}

void TFormItems::TVItemsChange(TObject*, TTreeNode* node) {
    // Typing on another entry is another step; the files of one drop stay one.
    if (dropBatch_.files == 0) commands.history.Seal();
    PropertiesDisplay(node);
    RefreshButtons();
}

void TFormItems::TVItemsExpanded(TObject*, TTreeNode* node) {
    if (node) node->SetSelectedIndex(kIconFolderOpen);
}

void TFormItems::TVItemsCollapsed(TObject*, TTreeNode* node) {
    if (node) node->SetSelectedIndex(kIconFolder);
}

void TFormItems::DrawTypeImage(int imageIndex, int background) {
    // At the window's DPI, from the shell where the picture came from it.
    const int size = Scaled(ILAllPublicPM.Width());
    ImgFType.SetPictureSize(size, size);
    TBitmap& picture = ImgFType.Picture();
    FillPicture(FillTarget(&picture), picture.Canvas(), false, ::GetSysColor(background));
    IconSources& sources = store.icons.sources;
    sources.TakeLate(imageIndex);
    HICON sharp = size != ILAllPublicPM.Width() ? sources.AtSize(imageIndex, size) : nullptr;
    if (sharp) ::DrawIconEx(picture.Canvas(), 0, 0, sharp, size, size, 0, nullptr, DI_NORMAL);
    else ILAllPublicPM.DrawSized(picture.Canvas(), 0, 0, size, imageIndex, true, ::GetSysColor(background));
    ImgFType.Invalidate();
}

void TFormItems::PropertiesDisplay(TTreeNode* node) {
    if (!node) return;
    auto fixed = [this](const char* type, bool nameEnabled, const std::string& name) {
        LblFType.SetCaption(std::string("Item Type: ") + type);
        EditSName.SetEnabled(nameEnabled);
        EditSName.SetText(name);
        EditSParams.SetEnabled(false);
        EditSParams.SetText("N/A");
        RichEditFPath.SetText("File Path: N/A");
        RichEditFName.SetText("File Name: N/A");
    };
    const std::string& text = node->Text();
    if (IsAnchorEntry(node)) {
        fixed("Utility item", false, "Top");
    } else if (IsSystemEntry(node)) {
        std::string name = text == kNorSepText ? "" : text == "--Sysmenu--" ? "Sysmenu" : text;
        fixed("Program item", false, name);
    } else if (IsFolderEntry(node)) {
        fixed("Virtual item", true, text);
    } else if (IsSeparatorEntry(node)) {
        std::string name = IsPlainSeparatorEntry(node) || text.size() < 4 ? "" : text.substr(2, text.size() - 4);
        fixed("Separator item", true, name);
    } else {
        ShowFileProperties(node);
    }
    DrawTypeImage(node->ImageIndex());
}

void TFormItems::ShowFileProperties(TTreeNode* node) {
    const ItemTables& tables = store.tables;
    const std::string& path = tables.PathOf(node->ItemId);
    const std::string ext = LowerCase(FileExtension(path));
    const bool hasPair = tables.HasParamRow(node->ItemId);
    EditSName.SetEnabled(true);
    EditSName.SetText(node->Text());
    // A directory's trailing "\" does not hide its name; a drive root has none.
    const std::string name = LastNameOf(path);
    const std::string named = name.empty() ? path : path.substr(0, path.find_last_not_of('\\') + 1);
    RichEditFPath.SetText("File Path: " + PathPart(named) + ExpandedPathNote(path));
    RichEditFName.SetText("File Name: " + name);
    std::string type = "Viewable item";
    bool params = false;
    if (IsExecutableFile(ext)) {
        type = "Executable item";
        params = true;
    } else if (IsScriptFile(ext)) {
        type = "Runable item";
        params = hasPair;
    } else if (ext == ".lnk") {
        type = "Shortcut item";
    }
    LblFType.SetCaption("Item Type: " + type);
    const bool program = IsProgramFile(ext);
    EditSParams.SetEnabled(params);
    EditSParams.SetText(program ? tables.ParamsOfItem(node->ItemId) : "N/A");
}

void TFormItems::RefreshButtons() {
    TTreeNode* sel = TVItems.Selected();
    const bool editable = sel && !IsAnchorEntry(sel) && !IsSystemEntry(sel);
    BitBtnCut.SetEnabled(editable);
    BitBtnDelete.SetEnabled(editable);
    BitBtnCopy.SetEnabled(editable && !IsFolderEntry(sel));
    BitBtnPaste.SetEnabled(clipboard_ && sel && !IsSystemEntry(sel) && MoveFitsAfter(clipboard_, sel));
    if (BitBtnAttach.Tag == 1) BitBtnAttach.SetEnabled(sel && !IsSystemEntry(sel));
    BitBtnLaunch.SetEnabled(sel && sel->ItemId >= 0);
}

void TFormItems::ViewReset() {
    if (clipboard_) clipboard_->SetCut(false);
    clipboard_ = nullptr;
    saveRoot_ = TVItems.GetFirstNode();
    TVItems.Select(saveRoot_);
    RefreshButtons();
}

void TFormItems::UndoRestore() {
    const bool wasAttached = changeAttached_;
    AttachTreeChange(false);
    // Neither the clipboard's entry nor a pressed or renamed one survives the rebuild.
    clipboard_ = nullptr;
    renaming_ = nullptr;
    StopDrag();
    // The tree, the manager's icons and the parameters, as last loaded or saved.
    commands.RestoreSaved();
    AttachTreeChange(wasAttached);
    saveRoot_ = TVItems.GetFirstNode();
    TVItems.Select(saveRoot_);
}

void TFormItems::BitBtnUndoClick(TObject*) {
    UndoRestore();
    ViewReset();
}

void TFormItems::UndoStep() { StepHistory(false); }

void TFormItems::RedoStep() { StepHistory(true); }

void TFormItems::StepHistory(bool redo) {
    EditHistory& history = commands.history;
    // A drag in progress ends first: the entry it holds may be what goes.
    if (TVItems.Dragging() || dragPressed_) {
        TVItems.CancelDrag();
        StopDrag();
    }
    const std::string label = redo ? history.RedoLabel() : history.UndoLabel();
    TTreeNode* show = nullptr;
    if (!(redo ? history.Redo(show) : history.Undo(show))) {
        StatusMessage(redo ? "Nothing to redo" : "Nothing to undo");
        return;
    }
    TVItems.Select(show ? show : TVItems.GetFirstNode());
    // The selection may not have changed, its name or parameters did.
    PropertiesDisplay(TVItems.Selected());
    RefreshButtons();
    StatusMessage((redo ? "Redone: " : "Undone: ") + label);
}

void TFormItems::BitBtnCloseClick(TObject*) { Close(); }

void TFormItems::FormShow(TObject*) {
    TVItems.Select(TVItems.GetFirstNode());
    FocusTree();
}

HWND TFormItems::FocusOnActivate(HWND remembered) {
    // Back in a field the user was typing in; else where the user works.
    for (const TControl* field : {&EditSName, &EditSParams, &MemoAddName})
        if (remembered && remembered == field->Handle()) return remembered;
    return TVItems.Handle();
}

void TFormItems::FormClose(TObject*, bool& hide) {
    if (!AgreedToClose()) {
        hide = false;
        return;
    }
    if (saved_) {
        saved_ = false;
        UndoRestore();
        Hide();
        AttachTreeChange(false);
        if (reloadItems) reloadItems();
        AttachTreeChange(true);
    } else {
        UndoRestore();
    }
    ViewReset();
    hide = true;
}

void TFormItems::StatusMessage(const std::string& text) {
    StatusBarHelp.SetPanelText(text);
    TimerStatusText.SetInterval(kMessageInterval);
}

void TFormItems::ClearStatusMessage() {
    if (TimerStatusText.Interval() != kMessageInterval) return;
    TimerStatusText.SetInterval(kHintInterval);
    StatusBarHelp.SetPanelText("Ready");
}

void TFormItems::ShowHintText(const std::string& text) {
    StatusBarHelp.SetPanelText(text);
    TimerStatusText.SetInterval(kHintInterval);
    TimerStatusText.SetEnabled(true);
}

void TFormItems::TimerStatusTextTimer(TObject*) {
    if (TimerStatusText.Interval() == kMessageInterval) {
        TimerStatusText.SetInterval(kHintInterval);
        StatusBarHelp.SetPanelText("Ready");
    } else if (StatusBarHelp.PanelText().empty()) {
        StatusBarHelp.SetPanelText("Ready");
    }
}

}  // namespace rz
