// Importing a folder of shortcuts and files as one virtual folder after the
// selection: a folder the user picks, the Start Menu, or a directory dropped
// with Shift held. Undo takes an import back like any other change.

#include <shlobj.h>

#include "core/Launching.h"
#include "items/ItemKinds.h"
#include "manager/FolderImport.h"
#include "manager/FolderRules.h"
#include "manager/form_items.h"
#include "support/UcvCallExternal.h"
#include "support/UcvSysStr.h"

namespace rz {

namespace {

constexpr char kMsgNothingToImport[] = "The folder holds nothing that can be imported";
constexpr char kStartMenuName[] = "Start Menu";
constexpr int kProgressStep = 100;
// Paint messages handled per progress step: a window that never validates
// must not keep the import waiting.
constexpr int kPaintsPerStep = 32;

std::string ShellFolder(int id) {
    char path[MAX_PATH] = "";
    return SUCCEEDED(::SHGetFolderPathA(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path)) ? path : "";
}

// The name a folder brings along; a drive root is named by its letter.
std::string FolderName(const std::string& folder) {
    const std::string bare = folder.substr(0, folder.find_last_not_of('\\') + 1);
    const std::string name = bare.substr(bare.find_last_of('\\') + 1);
    if (!name.empty() && name.back() == ':') return "Drive " + name.substr(0, name.size() - 1);
    return name;
}

class BusyCursor {
public:
    BusyCursor() : previous_(::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)))) {}
    ~BusyCursor() { ::SetCursor(previous_); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    HCURSOR previous_;
};

class UpdateScope {
public:
    explicit UpdateScope(TTreeView& tree) : tree_(tree) { tree_.BeginUpdate(); }
    ~UpdateScope() { tree_.EndUpdate(); }
    UpdateScope(const UpdateScope&) = delete;
    UpdateScope& operator=(const UpdateScope&) = delete;

private:
    TTreeView& tree_;
};

}  // namespace

void TFormItems::ImportFolderClick(TObject*) {
    TTreeNode* sel = TVItems.Selected();
    if (!sel || IsSystemEntry(sel)) return;
    std::string folder;
    if (!BrowseForFolder(Handle(), kPromptImport, "", folder)) return;
    ImportFolders({folder}, FolderName(folder), sel);
}

void TFormItems::ImportStartMenuClick(TObject*) {
    TTreeNode* sel = TVItems.Selected();
    if (!sel || IsSystemEntry(sel)) return;
    // The user's own programs and those installed for everyone, as one.
    ImportFolders({ShellFolder(CSIDL_PROGRAMS), ShellFolder(CSIDL_COMMON_PROGRAMS)}, kStartMenuName, sel);
}

// Input waits until the import is done; the status line is painted and the
// window keeps answering the system meanwhile.
void TFormItems::ShowImportProgress(const std::string& text) {
    StatusBarHelp.SetPanelText(text);
    ::UpdateWindow(StatusBarHelp.Handle());
    MSG msg;
    for (int i = 0; i < kPaintsPerStep && ::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i)
        ::DispatchMessageA(&msg);
}

TTreeNode* TFormItems::ImportFolders(const std::vector<std::string>& folders, const std::string& name,
                                     TTreeNode* after) {
    if (!after || IsSystemEntry(after)) return nullptr;
    BusyCursor busy;
    FolderImport import([this](int found) { ShowImportProgress("Importing: " + std::to_string(found) + " found"); });
    ImportEntry contents;
    for (const std::string& folder : folders)
        if (!folder.empty()) import.AddContents(contents, WithTrailingBackslash(folder));
    if (contents.children.empty()) {
        PlaySystemSound(kSoundRefused);
        StatusMessage(kMsgNothingToImport);
        return nullptr;
    }
    TTreeNode* imported = nullptr;
    {
        UpdateScope update(TVItems);
        imported = InsertFolderAfter(after, UniqueFolderName(name, after));
        int added = 0;
        InsertImported(imported->GetFirstChild(), contents, added, import.Found());
    }
    TVItems.Select(imported);
    std::string summary = "Imported " + std::to_string(import.Found()) + " items";
    if (import.Skipped() > 0)
        summary += ", skipped " + std::to_string(import.Skipped()) + " shortcuts leading nowhere (see the error log)";
    StatusMessage(summary);
    return imported;
}

void TFormItems::InsertImported(TTreeNode* after, const ImportEntry& level, int& added, int total) {
    for (const ImportEntry& entry : level.children) {
        if (entry.folder) {
            TTreeNode* folder = InsertFolderAfter(after, UniqueFolderName(entry.caption, after));
            InsertImported(folder->GetFirstChild(), entry, added, total);
            after = folder;
            continue;
        }
        after = InsertShellTarget(after, entry.target, entry.caption);
        if (++added % kProgressStep == 0)
            ShowImportProgress("Importing: " + std::to_string(added) + " of " + std::to_string(total) + " added");
    }
}

}  // namespace rz
