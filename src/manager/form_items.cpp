#include "manager/form_items.h"

#include <stdexcept>
#include <utility>

#include "core/AppData.h"
#include "core/Launching.h"
#include "core/Settings.h"

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
      store(parts.store) {
    HandleFixedEntries(parts);

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
}

// The tree outlives this window: it keeps neither a handler of ours nor its window.
TFormItems::~TFormItems() {
    TVItems.OnChange = nullptr;
    TVItems.OnExpanded = nullptr;
    TVItems.OnCollapsed = nullptr;
    TVItems.OnDropFiles = nullptr;
    static_cast<TMouseDragEvents&>(TVItems) = TMouseDragEvents{};
    TVItems.DestroyWnd();
}

void TFormItems::HandleFixedEntries(LauncherParts& parts) {
    const std::pair<const char*, void (TFormItems::*)(TObject*)> handlers[] = {
        {"miHelpFile", &TFormItems::miHelpFileClick},     {"miManageItems", &TFormItems::miManageItemsClick},
        {"miPreferences", &TFormItems::SetupClick},       {"miVisitWebsite", &TFormItems::miVisitWebsiteClick},
        {"miAbout", &TFormItems::miAboutClick},           {"miCloseApp", &TFormItems::miCloseAppClick}};
    for (const auto& [name, handler] : handlers) {
        TMenuItem* entry = parts.FixedEntry(name);
        if (!entry) throw std::logic_error(std::string("the launcher menu lacks ") + name);
        entry->OnClick = [this, handler = handler](TObject* sender) { (this->*handler)(sender); };
    }
}

void TFormItems::CreateControls() {
    HWND h = Handle();
    TVItems.SetBounds(0, 0, 346, 514);
    TVItems.SetIndent(19);
    TVItems.SetImages(&ILAllPublicTV);
    // Dragging is ours (TimerDrag): no drag detection of the tree view's own.
    TVItems.CreateWnd(h, TVS_DISABLEDRAGDROP);

    // The panels are painted backgrounds; the controls are their siblings, on top.
    PanelHeadProp.SetCaption("Properties");
    PanelHeadProp.SetBounds(kColumnLeft, 0, 175, 26);
    PanelProp.SetBounds(kColumnLeft, 26, 175, 149);
    PanelHeadAdmin.SetCaption("Administer");
    PanelHeadAdmin.SetBounds(kColumnLeft, 175, 175, 26);
    PanelAdmin.SetBounds(kColumnLeft, 201, 175, 313);
    for (TPanel* p : {&PanelHeadProp, &PanelProp, &PanelHeadAdmin, &PanelAdmin}) p->CreateWnd(h);
    ImageDesProp.SetBounds(kInnerLeft, 5, 16, 16);
    ImageDesAdmin.SetBounds(kInnerLeft, 180, 16, 16);
    ILAllPublicPM.Draw(ImageDesProp.Picture().Canvas(), 0, 0, 10);
    ILAllPublicPM.Draw(ImageDesAdmin.Picture().Canvas(), 0, 0, 9);
    ImageDesProp.CreateWnd(h);
    ImageDesAdmin.CreateWnd(h);

    ImgFType.SetBounds(kInnerLeft, 34, 16, 16);
    ImgFType.CreateWnd(h);
    EditSName.SetBounds(372, 31, 143, 21);
    EditSName.CreateWnd(h);
    LblFType.SetCaption("Item Type:");
    LblFType.SetBounds(kInnerLeft, 58, 163, 14);
    LblFType.CreateWnd(h);
    for (TEdit* e : {&RichEditFPath, &RichEditFName, &RichEditFParams}) {
        e->ReadOnly = true;
        e->Border = false;
    }
    RichEditFPath.Lines = 2;
    RichEditFPath.SetText("File Path:");
    RichEditFPath.SetBounds(kInnerLeft, 76, 163, 30);
    RichEditFName.SetText("File Name:");
    RichEditFName.SetBounds(kInnerLeft, 110, 163, 16);
    RichEditFParams.SetText("Parameters:");
    RichEditFParams.SetBounds(kInnerLeft, 139, 68, 16);
    EditSParams.SetBounds(422, 136, 93, 21);
    for (TEdit* e : {&RichEditFPath, &RichEditFName, &RichEditFParams, &EditSParams}) e->CreateWnd(h);

    RGSelectType.SetCaption("Type of item to add");
    RGSelectType.SetBounds(kInnerLeft, 205, 163, 86);
    RGSelectType.CreateWnd(h);
    const std::pair<TRadioButton*, const char*> radios[] = {{&RBFile, "File - Normal"},
                                                            {&RBFileDirectory, "File - Directory"},
                                                            {&RBSeparator, "Separator"},
                                                            {&RBFolder, "Folder (virtual)"}};
    int y = 222;
    for (const auto& [rb, caption] : radios) {
        rb->SetCaption(caption);
        rb->SetBounds(360, y, 150, 16);
        rb->CreateWnd(h);
        y += 16;
    }
    RBFile.SetChecked(true);
    LabelItemText.SetCaption("Item Text:");
    LabelItemText.SetBounds(kInnerLeft, 295, 163, 14);
    LabelItemText.CreateWnd(h);
    MemoAddName.SetBounds(kInnerLeft, 310, 163, 21);
    MemoAddName.CreateWnd(h);

    const std::pair<TButton*, const char*> buttons[] = {
        {&BitBtnFind, "Find.."},   {&BitBtnAttach, "Attach"}, {&BitBtnCut, "&Cut"},
        {&BitBtnCopy, "C&opy"},    {&BitBtnPaste, "&Paste"},  {&BitBtnDelete, "&Delete"},
        {&BitBtnLaunch, "&Launch"}, {&BitBtnHelp, "&Help"},   {&BitBtnSweep, "&Sweep"},
        {&BitBtnUndo, "&Undo"},    {&BitBtnSave, "S&ave"},    {&BitBtnClose, "C&lose"}};
    const int rows[] = {336, 364, 391, 418, 452, 481};
    for (int i = 0; i < 12; ++i) {
        TButton* b = buttons[i].first;
        b->SetCaption(buttons[i].second);
        b->SetBounds(i % 2 ? 435 : kInnerLeft, rows[i / 2], 80, 24);
        b->CreateWnd(h);
    }
    BitBtnAttach.SetEnabled(false);
    BitBtnAttach.Tag = 0;

    StatusBarHelp.SetPanelText("Ready");
    StatusBarHelp.CreateWnd(h, 345);
    // Children stack in creation order, the first on top: the panels go to
    // the bottom so that they never cover the controls laid over them.
    for (TControl* c : std::initializer_list<TControl*>{&RGSelectType, &PanelAdmin, &PanelHeadAdmin,
                                                        &PanelProp, &PanelHeadProp})
        ::SetWindowPos(c->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
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
    BitBtnSave.Hint = "|Save changes take effect after closing the form - only new changes can be undone";
    BitBtnClose.Hint = "|Exit (changes made since last save won't be applyed)";
    RBFile.Hint = "|Choosing this will enable the \"add..\" which is used with files";
    RBFileDirectory.Hint = "|Choosing this will enable the \"add..\" which is used with directories";
    RBSeparator.Hint = "|Choosing this makes it possible to add separators";
    RBFolder.Hint = "|Choosing this makes it possible to add sub-treeview-folders";
    MemoAddName.Hint = "|This will be the showed \"item text\" for whatever item type";
    BitBtnFind.Hint = "|Find a file of any type and prepare it to be attached";
    BitBtnAttach.Hint = "|Attach either a file or separator (depends on selection)";
    BitBtnCut.Hint = "|Cut an item (in most cases to paste it into another place)";
    BitBtnCopy.Hint = "|Copy an item (in most cases to paste it into another place)";
    BitBtnPaste.Hint = "|Paste an item which you have just cutted or copyed before";
    BitBtnDelete.Hint = "|Delete an item";
    BitBtnLaunch.Hint = "|Launch the given shortcut (the same as launching them from the popumenu)";
    BitBtnHelp.Hint = "|Get help";
    EditSName.Hint = "|This is the showed \"item text\"";
    EditSParams.Hint = "|The parameters to use for executing this (exe) file";
}

void TFormItems::miManageItemsClick(TObject*) { Show(); }

void TFormItems::SetupClick(TObject*) {
    if (showPreferences) showPreferences();
}

void TFormItems::miHelpFileClick(TObject*) { OpenWithShell(App.dataFolder + "help.html"); }

void TFormItems::miVisitWebsiteClick(TObject*) { OpenWithShell(kMakerWebsite); }

void TFormItems::miAboutClick(TObject*) {
    if (showAbout) showAbout();
}

void TFormItems::miCloseAppClick(TObject*) {
    if (closeApplication) closeApplication();
}


}  // namespace rz
