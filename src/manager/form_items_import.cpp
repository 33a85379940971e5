// Importing a folder of shortcuts and files as one virtual folder after the
// selection: a folder the user picks, the Start Menu, or a directory dropped
// with Shift held. Undo takes an import back like any other change.

#include <shlobj.h>

#include <algorithm>

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
constexpr char kMsgImportCancelled[] = "Import cancelled: nothing was added";
constexpr char kStartMenuName[] = "Start Menu";
// Paint messages handled per progress step: a window that never validates
// must not keep the import waiting.
constexpr int kPaintsPerStep = 32;
constexpr DWORD kProgressPaintMs = 100;

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

void TFormItems::ShowImportBar(int steps) {
    if (steps < 0) {
        ProgressBarImport.SetVisible(false);
        return;
    }
    // In the status line, right of the text's panel.
    RECT line{};
    ::GetClientRect(StatusBarHelp.Handle(), &line);
    const int left = Scaled(kStatusTextWidth) + Scaled(6);
    ProgressBarImport.SetBounds(left, Scaled(3), std::max<int>(line.right - Scaled(20) - left, Scaled(40)),
                                std::max<int>(line.bottom - Scaled(5), Scaled(8)));
    ProgressBarImport.SetRange(0, std::max(steps, 1));
    ProgressBarImport.SetPosition(0);
    ProgressBarImport.SetVisible(true);
    importShownAt_ = ::GetTickCount() - kProgressPaintMs;
}

// The window is painted and keeps answering the system meanwhile; of the
// keys only Esc counts, which stops the import. The others are dropped: the
// import holds the keyboard, as a progress dialog would.
bool TFormItems::ShowImportProgress(const std::string& text, int step) {
    MSG msg;
    // Painted a few times a second: painting at every step cost a good part
    // of the import.
    const DWORD now = ::GetTickCount();
    if (now - importShownAt_ >= kProgressPaintMs || step == 0) {
        importShownAt_ = now;
        StatusBarHelp.SetPanelText(text);
        ProgressBarImport.SetPosition(step);
        ::UpdateWindow(StatusBarHelp.Handle());
        for (int i = 0; i < kPaintsPerStep && ::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i)
            ::DispatchMessageA(&msg);
    }
    bool stop = false;
    while (::PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE))
        stop = stop || (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE);
    return !stop;
}

TTreeNode* TFormItems::ImportFolders(const std::vector<std::string>& folders, const std::string& name,
                                     TTreeNode* after) {
    if (!after || IsSystemEntry(after)) return nullptr;
    BusyCursor busy;
    ShowImportBar(FolderImport::CountFiles(folders));
    FolderImport import([this](int looked, int found) {
        return ShowImportProgress("Importing: " + std::to_string(found) + " found", looked);
    });
    const ImportEntry plan = import.Plan(folders);
    TTreeNode* imported = nullptr;
    if (!import.Stopped() && !plan.children.empty()) {
        const std::string total = std::to_string(import.Found());
        ShowImportBar(import.Found());
        imported = commands.Import(after, plan, name, [this, &total](int added) {
            return ShowImportProgress("Importing: " + std::to_string(added) + " of " + total + " added", added);
        });
    }
    ShowImportBar(-1);
    if (imported) {
        TVItems.Select(imported);
        StatusMessage(import.Summary());
    } else if (import.Stopped() || !plan.children.empty()) {
        // Stopped while reading or while adding: the tree is as it was.
        StatusMessage(kMsgImportCancelled);
    } else {
        PlaySystemSound(kSoundRefused);
        StatusMessage(import.Uninstallers() > 0 ? import.Summary() : kMsgNothingToImport);
    }
    FocusTree();
    return imported;
}

}  // namespace rz
