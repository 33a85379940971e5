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

}  // namespace

bool TFormItems::ChooseFolder(const char* prompt, std::string& folder) {
    switch (BrowseForFolder(Handle(), prompt, "", folder)) {
        case FolderChoice::Folder: return true;
        case FolderChoice::NoFolder:
            PlaySystemSound(kSoundRefused);
            StatusMessage("\"" + folder + "\" is not a folder");
            return false;
        default: return false;
    }
}

void TFormItems::ImportFolderClick(TObject*) {
    TTreeNode* sel = TVItems.Selected();
    if (!sel || IsSystemEntry(sel)) return;
    std::string folder;
    if (ChooseFolder(kPromptImport, folder)) ImportFolders({folder}, FolderName(folder), sel);
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
    const ImportEntry plan = import.Plan(folders);
    if (plan.children.empty()) {
        PlaySystemSound(kSoundRefused);
        StatusMessage(import.Uninstallers() > 0 ? import.Summary() : kMsgNothingToImport);
        return nullptr;
    }
    const std::string total = std::to_string(import.Found());
    TTreeNode* imported = commands.Import(after, plan, name, [this, &total](int added) {
        ShowImportProgress("Importing: " + std::to_string(added) + " of " + total + " added");
    });
    TVItems.Select(imported);
    StatusMessage(import.Summary());
    return imported;
}

}  // namespace rz
