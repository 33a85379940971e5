// Writing the store: one list file per level, one sub-folder per virtual
// folder, one icon picture per executable item.

#include "items/ItemStore.h"
#include "items/ListFile.h"
#include "support/UcvSysExceptions.h"
#include "support/UcvSysIO.h"

namespace rz {

void ItemStore::WriteItemListFile(TTreeNode* anchor, const std::string& folder) {
    std::string file = folder + "\\shortcuts.txt";
    ListFileWriter out(file);
    try {
        TTreeNode* first = anchor ? anchor->GetNextSibling() : nullptr;
        if (first && !IsSystemEntry(first)) WriteItemLine(first, folder, out);
    } catch (...) {
        // Each level names its own file as the failure passes through it.
        Log("Unable to save \"" + file + "\", probably because of a call to \"GetNextSibling\"");
        throw;
    }
    out.Close();
}

void ItemStore::WriteItemLine(TTreeNode* entry, const std::string& folder, ListFileWriter& out) {
    // Siblings in a loop, not by recursion: a level may hold 50k entries.
    for (TTreeNode* e = entry; e && !IsSystemEntry(e); e = e->GetNextSibling()) {
        if (IsAnchorEntry(e)) continue;
        if (IsFolderEntry(e)) {
            const std::string& caption = e->Text();
            if (!IsSafeFolderName(caption)) {
                ::SetLastError(ERROR_INVALID_NAME);
                RaiseInOutError("Invalid folder name", folder + "\\" + caption);
            }
            out.WriteLine(std::string(KindToken(ItemKind::Folder)) + "|" + caption);
            std::string sub = folder + "\\" + caption;
            if (!::CreateDirectoryA(sub.c_str(), nullptr)) RaiseInOutError("Cannot create", sub);
            if (e->Count() > 1) WriteItemListFile(e->GetFirstChild(), sub);
        } else if (IsSeparatorEntry(e)) {
            if (IsPlainSeparatorEntry(e)) {
                out.WriteLine(std::string(KindToken(ItemKind::NorSep)) + "|");
            } else {
                const std::string& t = e->Text();
                std::string caption = t.size() >= 4 ? t.substr(2, t.size() - 4) : std::string();
                out.WriteLine(std::string(KindToken(ItemKind::SpeSep)) + "|" + caption);
            }
        } else if (IsLinkEntry(e)) {
            const std::string& path = tables.PathOf(e->ItemId);
            if (IsProgramFile(path)) {
                std::string iconField = IconFieldFor(path, folder);
                out.WriteLine(std::string(KindToken(ItemKind::ExeLnk)) + "|" + path + "|" +
                              ParamsOfItem(e->ItemId) + "|" + iconField + "|" + e->Text());
                if (IsExecutableFile(path) &&
                    !icons.SaveIconPicture(e->ImageIndex(), folder + "\\" + iconField))
                    RaiseInOutError("Cannot write", folder + "\\" + iconField);
            } else {
                std::string ext = LowerCase(ExtWithoutDot(FileExtension(path)));
                out.WriteLine(std::string(KindToken(ItemKind::UnkLnk)) + "|" + path + "|" + ext + "|" +
                              e->Text());
            }
        }
    }
}

std::string ItemStore::IconFieldFor(const std::string& path, const std::string& folder) const {
    if (IsScriptFile(path)) return LowerCase(ExtWithoutDot(FileExtension(path)));
    size_t cut = path.find_last_of("\\:");
    std::string name = NameWithoutExt(cut == std::string::npos ? path : path.substr(cut + 1));
    if (!FileExists(folder + "\\" + name + ".bmp")) return name + ".bmp";
    for (int n = 1;; ++n) {
        std::string candidate = name + std::to_string(n) + ".bmp";
        if (!FileExists(folder + "\\" + candidate)) return candidate;
    }
}

}  // namespace rz
