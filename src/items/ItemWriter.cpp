// Writing the store: one list file per level, one sub-folder per virtual
// folder, one icon picture per executable item.

#include "items/ItemStore.h"
#include "items/ListFile.h"
#include "items/PictureNames.h"
#include "platform/FileIO.h"
#include "support/UcvSysExceptions.h"
#include "support/UcvSysIO.h"

namespace rz {

void ItemStore::WriteItemListFile(TTreeNode* anchor, const std::string& folder) {
    std::string file = folder + "\\shortcuts.txt";
    ListFileWriter out(file);
    PictureNames pictures(folder);
    try {
        TTreeNode* first = anchor ? anchor->GetNextSibling() : nullptr;
        // Folders further down the level are made after earlier pictures.
        for (TTreeNode* e = first; e && !IsSystemEntry(e); e = e->GetNextSibling())
            if (IsFolderEntry(e)) pictures.Reserve(FolderDirectoryName(e->Text()));
        if (first && !IsSystemEntry(first)) WriteItemLine(first, folder, out, pictures);
        out.Close();
    } catch (...) {
        // Each level names its own file as the failure passes through it.
        Log("Unable to save \"" + file + "\", probably because of a call to \"GetNextSibling\"");
        throw;
    }
}

void ItemStore::WriteItemLine(TTreeNode* entry, const std::string& folder, ListFileWriter& out,
                              PictureNames& pictures) {
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
            // The file system drops trailing dots and blanks of the last name
            // only: the path into the folder has to use the stored name.
            std::string sub = folder + "\\" + FolderDirectoryName(caption);
            if (!CreateFolder(sub)) RaiseInOutError("Cannot create", sub);
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
                std::string iconField = IconFieldFor(path, pictures);
                out.WriteLine(std::string(KindToken(ItemKind::ExeLnk)) + "|" + path + "|" + ParamsOfItem(e->ItemId) +
                              "|" + iconField + "|" + e->Text());
                // The picture is the program's own icon, never a stand-in.
                if (IsExecutableFile(path)) icons.sources.TakeLate(e->ImageIndex());
                if (IsExecutableFile(path) && !icons.SaveIconPicture(e->ImageIndex(), folder + "\\" + iconField))
                    RaiseInOutError("Cannot write", folder + "\\" + iconField);
            } else {
                std::string ext = LowerCase(ExtWithoutDot(FileExtension(path)));
                out.WriteLine(std::string(KindToken(ItemKind::UnkLnk)) + "|" + path + "|" + ext + "|" + e->Text());
            }
        }
    }
}

std::string ItemStore::IconFieldFor(const std::string& path, PictureNames& pictures) const {
    if (IsScriptFile(path)) return LowerCase(ExtWithoutDot(FileExtension(path)));
    return pictures.Next(path);
}

}  // namespace rz
