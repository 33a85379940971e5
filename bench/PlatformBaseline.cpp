#include "PlatformBaseline.h"

#include <commctrl.h>
#include <shellapi.h>

#include <stdexcept>
#include <vector>

#include "platform/Bitmap.h"

namespace rzbench {

namespace {

std::vector<std::string> SplitLines(const std::string& data) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < data.size(); ++i) {
        if (data[i] != '\r' && data[i] != '\n') continue;
        lines.emplace_back(data, start, i - start);
        if (data[i] == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < data.size()) lines.emplace_back(data, start, std::string::npos);
    return lines;
}

// The caption: what is left after skipping the given number of fields.
std::string CaptionAfter(const std::string& rest, int fields) {
    size_t at = 0;
    for (int i = 0; i < fields; ++i) {
        size_t bar = rest.find('|', at);
        if (bar == std::string::npos) break;
        at = bar + 1;
    }
    return rest.substr(at);
}

std::string BmpBytes() {
    rz::TBitmap picture(16, 16);
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    std::string path = std::string(temp) + "rzbench_picture_" + std::to_string(::GetCurrentProcessId()) + ".bmp";
    picture.SaveToFile(path);
    std::string bytes = ReadWholeFile(path);
    ::DeleteFileA(path.c_str());
    return bytes;
}

}  // namespace

PlatformBaseline::PlatformBaseline() {
    host_.reset(::CreateWindowExA(0, "STATIC", "rzbench", WS_OVERLAPPEDWINDOW, 0, 0, 521, 534, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr));
    if (!host_) throw std::runtime_error("cannot create the baseline window");
}

PlatformBaseline::~PlatformBaseline() {
    tree_.reset();
    menu_.reset();
}

void PlatformBaseline::Reset() {
    tree_.reset(::CreateWindowExA(
        WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, 0, 0,
        346, 514, host_.get(), nullptr, ::GetModuleHandleA(nullptr), nullptr));
    menu_.reset(::CreatePopupMenu());
    small_.reset(::ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 256));
    tall_.reset(::ImageList_Create(16, 18, ILC_COLOR32 | ILC_MASK, 0, 256));
    if (!tree_ || !menu_ || !small_ || !tall_) throw std::runtime_error("cannot create the baseline controls");
    types_.clear();
    nextId_ = 1;
}

void PlatformBaseline::TypeIcon(const std::string& path) {
    size_t dot = path.find_last_of(".\\:");
    if (dot == std::string::npos || path[dot] != '.') return;
    std::string ext = path.substr(dot + 1);
    ::CharLowerBuffA(ext.data(), static_cast<DWORD>(ext.size()));
    if (!types_.insert(ext).second) return;
    // The shell only gives a type's icon for a file that exists.
    const std::string probe = dataFolder_ + "TypeProbe." + ext;
    WriteWholeFile(probe, "");
    SHFILEINFOA info{};
    if (::SHGetFileInfoA(probe.c_str(), 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON) && info.hIcon) {
        ::ImageList_ReplaceIcon(small_.get(), -1, info.hIcon);
        ::ImageList_ReplaceIcon(tall_.get(), -1, info.hIcon);
        ::DestroyIcon(info.hIcon);
    }
    ::DeleteFileA(probe.c_str());
}

void PlatformBaseline::PictureIcon(const std::string& file) {
    rz::unique_hbitmap picture(static_cast<HBITMAP>(
        ::LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    if (!picture) return;
    ::ImageList_AddMasked(small_.get(), picture.get(), RGB(255, 0, 255));
    ::ImageList_AddMasked(tall_.get(), picture.get(), RGB(255, 0, 255));
}

HTREEITEM PlatformBaseline::InsertTreeItem(HTREEITEM parent, const std::string& text, int image) {
    if (!parent) return nullptr;
    TVINSERTSTRUCTA ins{};
    ins.hParent = parent;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    ins.item.pszText = const_cast<char*>(text.c_str());
    ins.item.iImage = image;
    ins.item.iSelectedImage = image;
    ins.item.lParam = nextId_;
    return reinterpret_cast<HTREEITEM>(::SendMessageA(tree_.get(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
}

int PlatformBaseline::Load(const std::string& dataFolder, bool wholeTree) {
    dataFolder_ = dataFolder;
    wholeTree_ = wholeTree;
    for (const char* type : {"x.exe", "x.bat", "x.cmd", "x.wsf", "x.wsh"}) TypeIcon(type);
    ::SendMessageA(tree_.get(), WM_SETREDRAW, FALSE, 0);
    int count = LoadLevel(dataFolder + "shortcuts\\", TVI_ROOT, menu_.get());
    ::SendMessageA(tree_.get(), WM_SETREDRAW, TRUE, 0);
    return count;
}

int PlatformBaseline::LoadLevel(const std::string& folder, HTREEITEM parent, HMENU menu) {
    int count = 0;
    for (const std::string& line : SplitLines(ReadWholeFile(folder + "shortcuts.txt"))) {
        size_t bar = line.find('|');
        if (bar == std::string::npos) continue;
        std::string token = line.substr(0, bar);
        std::string rest = line.substr(bar + 1);
        ++count;
        if (token == "^Folder") {
            HTREEITEM node = InsertTreeItem(parent, rest, 0);
            rz::unique_hmenu sub(menu ? ::CreatePopupMenu() : nullptr);
            count += LoadLevel(folder + rest + "\\", wholeTree_ ? node : nullptr, wholeTree_ ? sub.get() : nullptr);
            if (menu && ::AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub.get()), rest.c_str()))
                sub.release();  // the parent menu owns it now
        } else if (token == "^NorSep") {
            InsertTreeItem(parent, "---------------", 3);
            if (menu) ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        } else if (token == "^SpeSep") {
            InsertTreeItem(parent, "--" + rest + "--", 4);
            if (menu) ::AppendMenuA(menu, MF_STRING, 0, rest.c_str());
        } else if (token == "^ExeLnk" || token == "^UnkLnk") {
            const bool exe = token == "^ExeLnk";
            std::string caption = CaptionAfter(rest, exe ? 3 : 2);
            const std::string path = rest.substr(0, rest.find('|'));
            TypeIcon(path);
            if (exe) {
                // The picture the writer keeps beside a program item, when there is one.
                std::string picture = CaptionAfter(rest, 2);
                picture = picture.substr(0, picture.find('|'));
                if (!picture.empty() && ::GetFileAttributesA((folder + picture).c_str()) != INVALID_FILE_ATTRIBUTES)
                    PictureIcon(folder + picture);
            }
            InsertTreeItem(parent, caption, -1);
            if (menu) ::AppendMenuA(menu, MF_STRING, nextId_, caption.c_str());
            ++nextId_;
        } else {
            --count;
        }
    }
    return count;
}

void PlatformBaseline::Write(const GeneratedStore& store, const std::string& outFolder) {
    static const std::string bmp = BmpBytes();
    for (const StoreLevel& level : store.levels) {
        std::string dir = outFolder + level.rel;
        if (!level.rel.empty() && !::CreateDirectoryA(dir.c_str(), nullptr))
            throw std::runtime_error("cannot create " + dir);
        if (level.content.empty()) continue;
        WriteWholeFile(dir + "shortcuts.txt", level.content);
        for (int i = 0; i < level.executables; ++i) WriteWholeFile(dir + "pic" + std::to_string(i) + ".bmp", bmp);
    }
}

}  // namespace rzbench
