#pragma once
// Where the pictures of the icon slots come from: a file type, or one file
// whose own icon the slot shows. A file named by any number of items has one
// slot, and the shell is asked for its icon once and late: its type's icon
// stands in until the slot is drawn or there is time to spare. The same
// sources give each slot's picture at the size of a display above 96 DPI.

#include <windows.h>

#include <deque>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Handles.h"
#include "platform/ImageList.h"

namespace rz {

class IconSources {
public:
    IconSources(TImageList& menuList, TImageList& treeList);
    IconSources(const IconSources&) = delete;
    IconSources& operator=(const IconSources&) = delete;

    // The slot that shows the own icon of the file at path, or -1.
    int SlotOfFile(const std::string& path) const;
    // A slot for the own icon of the file at path in both lists, appended
    // (slot -1) or inserted at slot; its type's icon shows until the file's
    // own is taken. Returns the slot.
    int AddLateFile(const std::string& path, int slot = -1);
    // AddLateFile for each of paths that has no slot yet, appended, many at
    // a time; how many were appended.
    int AddLateFiles(const std::vector<std::string>& paths);
    // While held, the pictures of appended slots wait and go into the lists
    // many at a time when the hold ends, or before anything else is put
    // there: a load appends thousands.
    void Hold(bool hold);
    void Flush();
    // The slot shows the file's own icon, taken now; it is shared from here on.
    void NoteFile(int slot, const std::string& path);
    // The slot shows the icon of files of type ext (without the dot).
    void NoteType(int slot, const std::string& ext);
    // A picture was inserted at slot: the ones from there on moved up by one.
    void Inserted(int slot);
    // The lists were cut back to count pictures.
    void CutTo(int count);

    // Takes the file's own icon into both lists if the slot still shows a
    // stand-in; true when its picture changed.
    bool TakeLate(int slot);
    // Takes late icons in the order their slots came until budgetMs have
    // passed; how many pictures changed.
    int TakeLateFor(double budgetMs);
    bool HasLate() const { return lateCount_ > 0; }
    bool IsLate(int slot) const { return Find(slot) && Find(slot)->late; }
    int LateCount() const { return lateCount_; }
    // These slots' late icons go before the others.
    void PutFirst(const std::vector<int>& slots);

    // The slot's picture from the shell at size x size pixels, asked for once
    // and kept; null for a slot without a file or type behind it, or where
    // the shell has none.
    HICON AtSize(int slot, int size);
    // A tree picture of width x height (the icon centred on the window's
    // colour) when AtSize has given the slot's icon at width; else null.
    std::unique_ptr<TBitmap> TreePicture(int slot, int width, int height) const;

private:
    enum class Kind : unsigned char { None, Type, File };
    struct Origin {
        Kind kind = Kind::None;
        bool late = false;
        std::string source;  // the file's path, or the type's extension
        std::vector<std::pair<int, unique_hicon>> sized;
    };
    struct StandIn {
        std::unique_ptr<TBitmap> menu, tree;
    };

    Origin* Find(int slot);
    const Origin* Find(int slot) const;
    Origin& At(int slot);
    const StandIn& StandInFor(const std::string& path);
    void Show(int slot, const TBitmap& menuPicture);
    void NoteLate(int slot, const std::string& path);
    // Each path's stand-in appended to both lists; how many went in.
    int AppendStandIns(const std::vector<std::string>& paths);

    TImageList& menu_;
    TImageList& tree_;
    std::vector<Origin> origins_;  // by slot; slots beyond have no source
    std::unordered_map<std::string, int> files_;
    std::deque<int> late_;
    int lateCount_ = 0;
    bool held_ = false;
    std::vector<std::string> pending_;                   // appended slots whose pictures wait
    std::unordered_map<std::string, StandIn> standIns_;  // by extension
};

// The icon drawn at size x size onto a picture whose pixels keep its own
// transparency (straight alpha), as an image list takes it without a mask.
std::unique_ptr<TBitmap> IconPicture(HICON icon, int size);
// A 16 x 16 menu picture as its 16 x 18 tree twin: on the window's colour,
// one row down, opaque.
std::unique_ptr<TBitmap> TreeTwin(const TBitmap& menuPicture);

}  // namespace rz
