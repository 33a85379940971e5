#include "manager/form_items.h"

#include <stdexcept>
#include <utility>

#include "core/AppData.h"
#include "core/Launching.h"
#include "core/Settings.h"
#include "platform/Layout.h"

namespace rz {

namespace {
constexpr int kClientWidth = 521;
constexpr int kClientHeight = 534;
constexpr int kColumnLeft = 346;
constexpr int kInnerLeft = 352;
}  // namespace

TFormItems::TFormItems(LauncherParts& parts, TcvWinTreeView& tree)
    : TTitledDialog("FormItems", App.itemsTitle),
      TVItems(tree),
      TVUndo(parts.TVUndo),
      TVBasic(parts.TVBasic),
      PMItems(parts.PMItems),
      PMBasic(parts.PMBasic),
      ILAllPublicPM(parts.ILAllPublicPM),
      ILAllPublicTV(parts.ILAllPublicTV),
      store(parts.store),
      commands(parts.store) {
    HandleFixedEntries(parts);
    commands.history.leaving = [this](TTreeNode* node) { LetGo(node); };

    CreateForm("", kClientWidth, kClientHeight);
    CenterOnScreen();
    CreateControls();
    SetHints();

    OnShow = [this](TObject* s) { FormShow(s); };
    OnClose = [this](TObject* s, bool& hide) { FormClose(s, hide); };
    TVItems.OnExpanded = [this](TObject* s, TTreeNode* n) { TVItemsExpanded(s, n); };
    TVItems.OnCollapsed = [this](TObject* s, TTreeNode* n) { TVItemsCollapsed(s, n); };
    BitBtnUndo.OnClick = [this](TObject* s) { BitBtnUndoClick(s); };
    BitBtnClose.OnClick = [this](TObject* s) { BitBtnCloseClick(s); };
    BitBtnSave.OnClick = [this](TObject* s) { BitBtnSaveClick(s); };
    BitBtnHelp.OnClick = [this](TObject* s) { miHelpFileClick(s); };
    BitBtnDelete.OnClick = [this](TObject* s) { BitBtnDeleteClick(s); };
    BitBtnCut.OnClick = [this](TObject* s) { BitBtnCutClick(s); };
    BitBtnCopy.OnClick = [this](TObject* s) { BitBtnCopyClick(s); };
    BitBtnPaste.OnClick = [this](TObject* s) { BitBtnPasteClick(s); };
    BitBtnLaunch.OnClick = [this](TObject* s) { BitBtnLaunchClick(s); };
    // Adding entries, renaming and parameters.
    for (TRadioButton* rb : {&RBFile, &RBFileDirectory, &RBSeparator, &RBFolder})
        rb->OnEnter = [this](TObject* s) { RBFolderEnter(s); };
    BitBtnFind.OnClick = [this](TObject* s) { BitBtnFindClick(s); };
    BitBtnAttach.OnClick = [this](TObject* s) { BitBtnAttachClick(s); };
    EditSName.OnEnter = [this](TObject* s) { EditSNameEnter(s); };
    EditSName.OnExit = [this](TObject* s) { EditSNameExit(s); };
    EditSName.OnChange = [this](TObject* s) { EditSNameChange(s); };
    EditSParams.OnChange = [this](TObject* s) { EditSParamsChange(s); };
    OpenDialogAdd.Filter = "All Files (*.*)|*.*";
    OpenDialogAdd.Options = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_ENABLESIZING;
    TimerStatusText.SetInterval(kHintInterval);
    TimerStatusText.OnTimer = [this](TObject* s) { TimerStatusTextTimer(s); };
    TimerDrag.SetInterval(150);
    TimerExpand.SetInterval(400);
    HookDragDropAndSweep();
    HookKeys();
    BuildTreeMenu();
    TVItems.OnContextPopup = [this](TObject* s, TTreeNode* n, POINT at) { TVItemsContextPopup(s, n, at); };
}

// The tree outlives this window: it keeps neither a handler of ours nor its window.
TFormItems::~TFormItems() {
    TVItems.OnChange = nullptr;
    TVItems.OnExpanded = nullptr;
    TVItems.OnCollapsed = nullptr;
    TVItems.OnDropFiles = nullptr;
    TVItems.OnDropFilesDone = nullptr;
    TVItems.OnKeyDown = nullptr;
    TVItems.OnContextPopup = nullptr;
    static_cast<TMouseDragEvents&>(TVItems) = TMouseDragEvents{};
    TVItems.DestroyWnd();
}

void TFormItems::HandleFixedEntries(LauncherParts& parts) {
    const std::pair<const char*, void (TFormItems::*)(TObject*)> handlers[] = {
        {"miHelpFile", &TFormItems::miHelpFileClick}, {"miManageItems", &TFormItems::miManageItemsClick},
        {"miPreferences", &TFormItems::SetupClick},   {"miVisitWebsite", &TFormItems::miVisitWebsiteClick},
        {"miAbout", &TFormItems::miAboutClick},       {"miCloseApp", &TFormItems::miCloseAppClick}};
    for (const auto& [name, handler] : handlers) {
        TMenuItem* entry = parts.FixedEntry(name);
        if (!entry) throw std::logic_error(std::string("the launcher menu lacks ") + name);
        entry->OnClick = [this, handler = handler](TObject* sender) { (this->*handler)(sender); };
    }
}

// What the windows are made with: styles, pictures and the texts of edits.
void TFormItems::PrepareControls() {
    TVItems.SetImages(&ILAllPublicTV);
    ILAllPublicPM.Draw(ImageDesProp.Picture().Canvas(), 0, 0, 10);
    ILAllPublicPM.Draw(ImageDesAdmin.Picture().Canvas(), 0, 0, 9);
    for (TEdit* e : {&RichEditFPath, &RichEditFName, &RichEditFParams}) {
        e->ReadOnly = true;
        e->Border = false;
    }
    RichEditFPath.Lines = 2;
    RichEditFPath.SetText("File Path:");
    RichEditFName.SetText("File Name:");
    RichEditFParams.SetText("Parameters:");
}

void TFormItems::CreateControls() {
    PrepareControls();
    LayOutControls();
    RBFile.SetChecked(true);
    BitBtnAttach.SetEnabled(false);
    BitBtnAttach.Tag = 0;

    StatusBarHelp.SetPanelText("Ready");
    StatusBarHelp.CreateWnd(Handle(), Scaled(kStatusTextWidth));
    ProgressBarImport.SetVisible(false);
    ProgressBarImport.CreateWnd(StatusBarHelp.Handle());
    // Children stack in creation order, the first on top: the panels go to
    // the bottom so that they never cover the controls laid over them.
    for (TControl* c :
         std::initializer_list<TControl*>{&RGSelectType, &PanelAdmin, &PanelHeadAdmin, &PanelProp, &PanelHeadProp})
        ::SetWindowPos(c->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TFormItems::DpiChanged() {
    LayOutControls();
    TVItems.SetImagesDpi(Dpi());
    StatusBarHelp.SetFirstPanelWidth(Scaled(kStatusTextWidth));
}

void TFormItems::LayOutControls() {
    TVItems.SetIndent(Scaled(19));
    // Dragging is ours (TimerDrag): no drag detection of the tree view's own.
    const LayoutRow tree{&TVItems, nullptr, 0, 0, 346, 514, [](TControl& c, HWND parent) {
                             static_cast<TcvWinTreeView&>(c).CreateWnd(parent, TVS_DISABLEDRAGDROP);
                         }};
    constexpr int left = kInnerLeft, right = 435;
    // The panels are painted backgrounds; the controls are their siblings, on top.
    LayOut(Handle(), Dpi(),
           {tree,
            Row(PanelHeadProp, "Properties", kColumnLeft, 0, 175, 26),
            Row(PanelProp, nullptr, kColumnLeft, 26, 175, 149),
            Row(PanelHeadAdmin, "Administer", kColumnLeft, 175, 175, 26),
            Row(PanelAdmin, nullptr, kColumnLeft, 201, 175, 313),
            Row(ImageDesProp, nullptr, left, 5, 16, 16),
            Row(ImageDesAdmin, nullptr, left, 180, 16, 16),
            Row(ImgFType, nullptr, left, 34, 16, 16),
            Row(EditSName, nullptr, 372, 31, 143, 21),
            Row(LblFType, "Item Type:", left, 58, 163, 14),
            Row(RichEditFPath, nullptr, left, 76, 163, 30),
            Row(RichEditFName, nullptr, left, 110, 163, 16),
            // Room for the label's colon in wider system fonts at 144 DPI.
            Row(RichEditFParams, nullptr, left, 139, 74, 16),
            Row(EditSParams, nullptr, 428, 136, 87, 21),
            Row(RGSelectType, "Type of item to add", left, 205, 163, 86),
            Row(RBFile, "File - Normal", 360, 222, 150, 16),
            Row(RBFileDirectory, "File - Directory", 360, 238, 150, 16),
            Row(RBSeparator, "Separator", 360, 254, 150, 16),
            Row(RBFolder, "Folder (virtual)", 360, 270, 150, 16),
            Row(LabelItemText, "Item Text:", left, 295, 163, 14),
            Row(MemoAddName, nullptr, left, 310, 163, 21),
            Row(BitBtnFind, "Find..", left, 336, 80, 24),
            Row(BitBtnAttach, "Attach", right, 336, 80, 24),
            Row(BitBtnCut, "&Cut", left, 364, 80, 24),
            Row(BitBtnCopy, "C&opy", right, 364, 80, 24),
            Row(BitBtnPaste, "&Paste", left, 391, 80, 24),
            Row(BitBtnDelete, "&Delete", right, 391, 80, 24),
            Row(BitBtnLaunch, "&Launch", left, 418, 80, 24),
            Row(BitBtnHelp, "&Help", right, 418, 80, 24),
            Row(BitBtnSweep, "&Sweep", left, 452, 80, 24),
            Row(BitBtnUndo, "&Undo", right, 452, 80, 24),
            Row(BitBtnSave, "S&ave", left, 481, 80, 24),
            Row(BitBtnClose, "C&lose", right, 481, 80, 24)});
}

void TFormItems::SetHints() {
    PanelHeadProp.Hint = "|\"Properties\" is the place where you can view and modify the details of each item";
    ImageDesProp.Hint = "|\"Properties\" is the place where you can view the details of each item";
    LblFType.Hint = "|The type of the item (some are handled by program)";
    ImgFType.Hint = "|This is the showed \"item text\"";
    RichEditFPath.Hint = "|The file-path (e.g. c:\\corvane\\) which the item points at";
    RichEditFName.Hint = "|The file-name (e.g. zeredudu.roz) which the item points at";
    RichEditFParams.Hint = "|The parameters to use for executing this (exe) file";
    PanelHeadAdmin.Hint = "|\"Administer\" is the place where you add, delete etc. items";
    ImageDesAdmin.Hint = PanelHeadAdmin.Hint;
    BitBtnSweep.Hint = "|Sweep for invalid items (e.g. non-existing files)";
    BitBtnUndo.Hint = "|Undo all changes (since last save)";
    BitBtnSave.Hint = "|Save changes take effect after closing the form - only new changes can be undone - Ctrl+S";
    BitBtnClose.Hint = "|Exit (changes made since last save won't be applyed)";
    RBFile.Hint = "|Choosing this will enable the \"add..\" which is used with files";
    RBFileDirectory.Hint = "|Choosing this will enable the \"add..\" which is used with directories";
    RBSeparator.Hint = "|Choosing this makes it possible to add separators";
    RBFolder.Hint = "|Choosing this makes it possible to add sub-treeview-folders";
    MemoAddName.Hint = "|This will be the showed \"item text\" for whatever item type";
    BitBtnFind.Hint = "|Find a file of any type and prepare it to be attached";
    BitBtnAttach.Hint = "|Attach either a file or separator (depends on selection)";
    BitBtnCut.Hint = "|Cut an item (in most cases to paste it into another place) - Ctrl+X";
    BitBtnCopy.Hint = "|Copy an item (in most cases to paste it into another place) - Ctrl+C";
    BitBtnPaste.Hint = "|Paste an item which you have just cutted or copyed before - Ctrl+V";
    BitBtnDelete.Hint = "|Delete an item - Del";
    BitBtnLaunch.Hint = "|Launch the given shortcut (the same as launching them from the popumenu) - Enter";
    BitBtnHelp.Hint = "|Get help";
    EditSName.Hint = "|This is the showed \"item text\" - F2 to rename, Esc back to the tree";
    EditSParams.Hint = "|The parameters to use for executing this (exe) file";
}

void TFormItems::miManageItemsClick(TObject*) { Show(); }

void TFormItems::ShowItemEntry(int itemId) {
    Show();
    for (TTreeNode* n = TVItems.GetFirstNode(); n; n = n->GetNext()) {
        if (n->ItemId != itemId || IsSystemEntry(n) || IsAnchorEntry(n)) continue;
        TVItems.Select(n);
        return;
    }
    // Deleted among the edits not saved yet.
    StatusMessage("The entry is no longer in the tree");
}

void TFormItems::SetupClick(TObject*) {
    if (showPreferences) showPreferences();
}

void TFormItems::miHelpFileClick(TObject*) { OpenWithShell(App.dataFolder + "help.html"); }

void TFormItems::miVisitWebsiteClick(TObject*) { OpenWithShell(kMakerWebsite); }

void TFormItems::miAboutClick(TObject*) {
    if (showAbout) showAbout();
}

void TFormItems::miCloseAppClick(TObject*) {
    // Edits still open here are not dropped unasked; Cancel keeps the program running.
    if (Visible() && !AgreedToClose()) return;
    if (closeApplication) closeApplication();
}

}  // namespace rz
