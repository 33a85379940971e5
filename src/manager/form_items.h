#pragma once
// The item manager window: it shows and edits the store of the launcher
// parts that the application hands it, in the tree it is given.

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "controls/CcvWinTreeView.h"
#include "core/TitledDialog.h"
#include "items/LauncherParts.h"
#include "manager/ItemCommands.h"
#include "platform/Form.h"
#include "platform/ImageList.h"
#include "platform/Menu.h"
#include "platform/OpenDialog.h"
#include "platform/Panels.h"
#include "platform/ProgressBar.h"
#include "platform/StdControls.h"
#include "platform/Timer.h"
#include "platform/TreeView.h"

namespace rz {

inline constexpr unsigned kMessageInterval = 4750;
inline constexpr unsigned kHintInterval = 100;
// The status line's text panel, at 96 DPI.
inline constexpr int kStatusTextWidth = 345;
// The folder browser's line saying what to choose.
inline constexpr char kPromptDirectory[] = "Choose the directory the new item opens:";
// The status line when the store on disk changed since the manager read it.
inline constexpr char kChangedOnDisk[] = "The items on disk have changed - Save asks before it overwrites them";
inline constexpr char kReloadedFromDisk[] = "The items on disk have changed and were read again";
inline constexpr char kNotSavedChangedOnDisk[] = "Not saved: the items on disk have changed since they were read";
inline constexpr char kPromptImport[] =
    "Choose the folder to import: its sub-folders, shortcuts and files become a virtual folder of items.";

class TFormItems : public TTitledDialog {
public:
    // tree is the tree parts' store fills; both outlive this form.
    TFormItems(LauncherParts& parts, TcvWinTreeView& tree);
    ~TFormItems() override;

    // The shared parts under the names the form has always given them.
    TcvWinTreeView& TVItems;
    TTreeView& TVUndo;
    TTreeView& TVBasic;
    TPopupMenu& PMItems;
    TPopupMenu& PMBasic;
    TImageList& ILAllPublicPM;
    TImageList& ILAllPublicTV;
    ItemStore& store;
    // Every change to the tree goes through here, one step of its history each.
    ItemCommands commands;

    // Properties.
    TPanel PanelHeadProp{"PanelHeadProp"};
    TImage ImageDesProp{"ImageDesProp", 16, 16};
    TPanel PanelProp{"PanelProp"};
    TImage ImgFType{"ImgFType", 16, 16};
    TEdit EditSName{"EditSName"};
    TLabel LblFType{"LblFType"};
    TEdit RichEditFPath{"RichEditFPath"};
    TEdit RichEditFName{"RichEditFName"};
    TEdit RichEditFParams{"RichEditFParams"};
    TEdit EditSParams{"EditSParams"};
    // Administer.
    TPanel PanelHeadAdmin{"PanelHeadAdmin"};
    TImage ImageDesAdmin{"ImageDesAdmin", 16, 16};
    TPanel PanelAdmin{"PanelAdmin"};
    TGroupBox RGSelectType{"RGSelectType"};
    TRadioButton RBFile{"RBFile"};
    TRadioButton RBFileDirectory{"RBFileDirectory"};
    TRadioButton RBSeparator{"RBSeparator"};
    TRadioButton RBFolder{"RBFolder"};
    TLabel LabelItemText{"LabelItemText"};
    TEdit MemoAddName{"MemoAddName"};
    TButton BitBtnFind{"BitBtnFind"};
    TButton BitBtnAttach{"BitBtnAttach"};
    TButton BitBtnCut{"BitBtnCut"};
    TButton BitBtnCopy{"BitBtnCopy"};
    TButton BitBtnPaste{"BitBtnPaste"};
    TButton BitBtnDelete{"BitBtnDelete"};
    TButton BitBtnLaunch{"BitBtnLaunch"};
    TButton BitBtnHelp{"BitBtnHelp"};
    TButton BitBtnSweep{"BitBtnSweep"};
    TButton BitBtnUndo{"BitBtnUndo"};
    TButton BitBtnSave{"BitBtnSave"};
    TButton BitBtnClose{"BitBtnClose"};
    TStatusBar StatusBarHelp{"StatusBarHelp"};
    // Shown in the status line beside the text while an import runs.
    TProgressBar ProgressBarImport{"ProgressBarImport"};
    TTimer TimerStatusText{"TimerStatusText"};
    TTimer TimerDrag{"TimerDrag"};
    TTimer TimerExpand{"TimerExpand"};

    // Window and tree handlers.
    void FormShow(TObject* sender);
    void FormClose(TObject* sender, bool& hide);
    void TVItemsChange(TObject* sender, TTreeNode* node);
    void TVItemsExpanded(TObject* sender, TTreeNode* node);
    void TVItemsCollapsed(TObject* sender, TTreeNode* node);
    void BitBtnUndoClick(TObject* sender);
    void BitBtnCloseClick(TObject* sender);
    void BitBtnSaveClick(TObject* sender);
    void BitBtnDeleteClick(TObject* sender);
    void BitBtnCutClick(TObject* sender);
    void BitBtnCopyClick(TObject* sender);
    void BitBtnPasteClick(TObject* sender);
    void BitBtnLaunchClick(TObject* sender);
    void TimerStatusTextTimer(TObject* sender);

    // Adding entries, renaming and parameters.
    TOpenDialog OpenDialogAdd{"OpenDialogAdd"};
    void RBFolderEnter(TObject* sender);
    void BitBtnFindClick(TObject* sender);
    void BitBtnAttachClick(TObject* sender);
    void EditSNameEnter(TObject* sender);
    void EditSNameExit(TObject* sender);
    void EditSNameChange(TObject* sender);
    void EditSParamsChange(TObject* sender);
    const std::string& PendingFile() const { return pendingFile_; }
    const std::string& PendingDirectory() const { return pendingDirectory_; }
    const std::string& LastAcceptedName() const { return lastAcceptedName_; }

    // The handlers of the launcher menu's fixed entries.
    void miManageItemsClick(TObject* sender);
    // Shows the manager with the entry of an item id selected.
    void ShowItemEntry(int itemId);
    void SetupClick(TObject* sender);
    void miHelpFileClick(TObject* sender);
    void miVisitWebsiteClick(TObject* sender);
    void miAboutClick(TObject* sender);
    void miCloseAppClick(TObject* sender);

    // Operations the editing handlers share.
    void StatusMessage(const std::string& text);
    // Back to "Ready" when a message is showing; a hint stays.
    void ClearStatusMessage();
    void ShowHintText(const std::string& text);
    void PropertiesDisplay(TTreeNode* node);
    void RefreshButtons();
    void ViewReset();
    void UndoRestore();
    // Ctrl+Z takes back the last step, Ctrl+Y and Ctrl+Shift+Z do it again;
    // the status line says which.
    void UndoStep();
    void RedoStep();
    // TVItemsChange is detached while the tree is rebuilt in bulk.
    void AttachTreeChange(bool attach);

    TTreeNode* SaveRoot() const { return saveRoot_; }
    bool Saved() const { return saved_; }
    // Anything a reload from disk would drop: a step of the history (done
    // or to be done again), a drag under way.
    bool HasUnsavedEdits() const;
    // The store changed on disk: tree, menu and view read again, said in
    // the status line. Only without unsaved edits.
    void ReloadFromDisk();
    TTreeNode* Clipboard() const { return clipboard_; }

    // What the fixed menu entries and closing after a save reach beyond this
    // window; the application wires them.
    std::function<void()> closeApplication;
    std::function<void()> reloadItems;
    std::function<void()> showPreferences;
    std::function<void()> showAbout;

    // Dragging inside the tree, files dropped from the shell, the sweep
    // (form_items_drag.cpp, form_items_drop.cpp, form_items_sweep.cpp).
    void TVItemsMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void TVItemsMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void TimerDragTimer(TObject* sender);
    void TimerExpandTimer(TObject* sender);
    void TVItemsDragOver(TObject* sender, TObject* source, int x, int y, TDragState state, bool& accept);
    void TVItemsDragDrop(TObject* sender, TObject* source, int x, int y);
    void TVItemsEndDrag(TObject* sender, TObject* target, int x, int y);
    void TVItemsDropFiles(TObject* sender, const std::string& fullPath, const POINT& at);
    void TVItemsDropFilesDone(TObject* sender);
    void BitBtnSweepClick(TObject* sender);

    // The tree's keys and the name field's Esc (form_items_keys.cpp).
    void TVItemsKeyDown(TObject* sender, WORD key, bool& handled);
    void EditSNameKeyDown(TObject* sender, WORD key, bool& handled);
    void EditSParamsKeyDown(TObject* sender, WORD key, bool& handled);
    void AnyControlKeyDown(TObject* sender, WORD key, bool& handled);
    // F2: the keyboard goes to the name field with its text selected.
    void BeginRename();
    // The keyboard back on the tree, its selection in sight.
    void FocusTree();

    // The tree's context menu (form_items_menu.cpp) and the imports
    // (form_items_import.cpp).
    TPopupMenu PMTree{"PMTree"};
    void TVItemsContextPopup(TObject* sender, TTreeNode* node, POINT at);
    void NewFolderClick(TObject* sender);
    void NewSeparatorClick(TObject* sender);
    void ImportFolderClick(TObject* sender);
    void ImportStartMenuClick(TObject* sender);

    TTreeNode* DragPressed() const { return dragPressed_; }
    TTreeNode* ExpandCandidate() const { return expandCandidate_; }

private:
    void HandleFixedEntries(LauncherParts& parts);
    void PrepareControls();
    void CreateControls();
    void LayOutControls();
    void DpiChanged() override;
    void SetHints();
    void ShowFileProperties(TTreeNode* node);
    void DrawTypeImage(int imageIndex, int background = COLOR_BTNFACE);
    void StepHistory(bool redo);
    // True when the store on disk is as loaded or saved here, or the user
    // agrees to overwrite it.
    bool OverwriteAgreed();
    // Before the window or the program closes with unsaved edits: Yes saves
    // them, No drops them, Cancel keeps the window; false when it stays open.
    bool AgreedToClose();
    HWND FocusOnActivate(HWND remembered) override;
    // An entry leaves the tree: nothing of the view may keep it.
    void LetGo(TTreeNode* node);

    // Adding and renaming (form_items_add.cpp, form_items_rename.cpp).
    enum AddType { kAddFile, kAddDirectory, kAddSeparator, kAddFolder, kAddTypeCount };
    AddType CheckedAddType() const;
    TRadioButton& AddTypeButton(AddType type);
    void OfferAttach(const std::string& label, const std::string& text);
    void FindFile();
    void FindDirectory();
    TTreeNode* AttachSeparator(TTreeNode* after, const std::string& text);
    TTreeNode* AttachFolder(TTreeNode* after, const std::string& text);
    TTreeNode* AttachLink(TTreeNode* after, const std::string& text, bool directory);
    std::string pendingFile_;
    std::string pendingDirectory_;
    std::string parkedTexts_[kAddTypeCount];
    std::string lastAcceptedName_;
    // The entry whose name is being typed, and how it was named before.
    TTreeNode* renaming_ = nullptr;
    std::string renamedFrom_;

    TTreeNode* saveRoot_ = nullptr;
    TTreeNode* clipboard_ = nullptr;
    bool saved_ = false;
    bool changeAttached_ = false;

    void HookKeys();
    void BuildTreeMenu();
    void RefreshTreeMenu();
    // Each entry of PMTree with the rule that enables it (none for lines)
    // and, for entries that say what they act on, its caption.
    struct TreeMenuRule {
        TMenuItem* item;
        std::function<bool()> enabled;
        std::function<std::string()> caption;
    };
    std::vector<TreeMenuRule> treeMenuRules_;
    // The folders' contents as one virtual folder named name after after;
    // null when nothing could be imported.
    TTreeNode* ImportFolders(const std::vector<std::string>& folders, const std::string& name, TTreeNode* after);
    // The progress bar over steps steps, or away (steps < 0).
    void ShowImportBar(int steps);
    // Status text and bar; false once Esc was pressed.
    bool ShowImportProgress(const std::string& text, int step);
    DWORD importShownAt_ = 0;
    // The folder browser; a typed path that is no folder is refused in the status line.
    bool ChooseFolder(const char* prompt, std::string& folder);
    // The button a key of the tree presses, or null.
    TButton* ButtonOfKey(WORD key);
    // Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z: true when the key was one of them.
    bool HistoryKey(WORD key);
    void FieldHistoryKey(TObject* field, WORD key, bool& handled);
    void FieldKeyDown(TObject* field, WORD key, bool& handled);
    // The character a handled key also made, which the field would take.
    static void DropTypedCharacter(HWND field);

    // Dragging, drops and the sweep.
    void HookDragDropAndSweep();
    // Timers off, pressed entry and expand candidate forgotten.
    void StopDrag();
    // The folder-drop test; shows its refusal.
    bool MoveFitsAfter(const TTreeNode* moved, const TTreeNode* target);
    void RedrawAroundExpandCandidate();
    // Counts a refused file of the drop in progress; its end reports them.
    void RefuseDrop(const std::string& message);

    // The drop from the shell in progress: its files go one after another.
    struct DropBatch {
        TTreeNode* last = nullptr;
        int files = 0;
        int refused = 0;
        int added = 0;
        std::string reason;
        bool imported = false;  // its status line is the import's summary
        bool shift = false;     // held when the drop arrived: directories are imported
    };
    DropBatch dropBatch_;
    TTreeNode* dragPressed_ = nullptr;
    TTreeNode* expandCandidate_ = nullptr;
    int redrawCount_ = 0;
};

}  // namespace rz
