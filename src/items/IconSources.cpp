#include "items/IconSources.h"

#include <algorithm>

#include "items/ItemIcons.h"
#include "items/ItemKinds.h"
#include "support/UcvSysStr.h"

namespace rz {

namespace {

std::string FileKey(const std::string& path) { return LowerCase(path); }

double NowMs() {
    LARGE_INTEGER frequency{}, counter{};
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void FillPixels(TBitmap& b, uint32_t argb) {
    if (uint32_t* p = b.Bits()) std::fill(p, p + b.Width() * b.Height(), argb);
}

uint32_t WindowColour() {
    const COLORREF c = ::GetSysColor(COLOR_WINDOW);
    return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// The picture drawn over a colour, channel by channel.
uint32_t Over(uint32_t pixel, uint32_t background) {
    const uint32_t a = pixel >> 24;
    uint32_t out = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t p = (pixel >> shift) & 0xFF, b = (background >> shift) & 0xFF;
        out |= ((p * a + b * (255 - a) + 127) / 255) << shift;
    }
    return out;
}

}  // namespace

std::unique_ptr<TBitmap> IconPicture(HICON icon, int size) {
    // Drawn once on black and once on white, the two tell each pixel's
    // coverage and colour; the icon's own bitmaps would have to go through
    // the display driver, many times slower.
    TBitmap black(size, size), white(size, size);
    FillPixels(black, 0xFF000000u);
    FillPixels(white, 0xFFFFFFFFu);
    auto picture = std::make_unique<TBitmap>(size, size);
    if (icon) {
        ::DrawIconEx(black.Canvas(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
        ::DrawIconEx(white.Canvas(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    }
    const uint32_t* k = black.Bits();
    const uint32_t* w = white.Bits();
    uint32_t* out = picture->Bits();
    if (!k || !w || !out) return picture;
    for (int i = 0; i < size * size; ++i) {
        const int alpha = std::clamp(255 - (static_cast<int>(w[i] & 0xFF) - static_cast<int>(k[i] & 0xFF)), 0, 255);
        uint32_t pixel = static_cast<uint32_t>(alpha) << 24;
        for (int shift = 0; alpha > 0 && shift < 24; shift += 8) {
            const int channel = static_cast<int>((k[i] >> shift) & 0xFF);
            pixel |= static_cast<uint32_t>(std::min(255, (channel * 255 + alpha / 2) / alpha)) << shift;
        }
        out[i] = pixel;
    }
    return picture;
}

std::unique_ptr<TBitmap> TreeTwin(const TBitmap& menuPicture) {
    const int w = menuPicture.Width(), h = menuPicture.Height();
    auto twin = std::make_unique<TBitmap>(w, h + 2);
    const uint32_t window = WindowColour();
    FillPixels(*twin, window);
    const uint32_t* from = menuPicture.Bits();
    uint32_t* to = twin->Bits();
    if (!from || !to) return twin;
    for (int i = 0; i < w * h; ++i) to[w + i] = Over(from[i], window);
    return twin;
}

IconSources::IconSources(TImageList& menuList, TImageList& treeList) : menu_(menuList), tree_(treeList) {
    tree_.ViewPicture = [this](int slot, int width, int height) { return TreePicture(slot, width, height); };
}

IconSources::Origin* IconSources::Find(int slot) {
    return slot >= 0 && slot < static_cast<int>(origins_.size()) ? &origins_[slot] : nullptr;
}

const IconSources::Origin* IconSources::Find(int slot) const {
    return slot >= 0 && slot < static_cast<int>(origins_.size()) ? &origins_[slot] : nullptr;
}

IconSources::Origin& IconSources::At(int slot) {
    if (slot >= static_cast<int>(origins_.size())) origins_.resize(slot + 1);
    return origins_[slot];
}

int IconSources::SlotOfFile(const std::string& path) const {
    auto it = files_.find(FileKey(path));
    return it == files_.end() ? -1 : it->second;
}

const IconSources::StandIn& IconSources::StandInFor(const std::string& path) {
    const std::string ext = LowerCase(FileExtension(path));
    StandIn& s = standIns_[ext];
    if (!s.menu) {
        // What the shell shows for any file of the type, whether or not it exists.
        unique_hicon icon = ShellSmallIcon("file" + ext, FILE_ATTRIBUTE_NORMAL);
        s.menu = IconPicture(icon.get(), menu_.Width());
        s.tree = TreeTwin(*s.menu);
    }
    return s;
}

int IconSources::AddLateFile(const std::string& path, int slot) {
    const int end = menu_.Count() + static_cast<int>(pending_.size());
    if (held_ && (slot < 0 || slot >= end)) {
        // Appended with the others when the hold ends.
        pending_.push_back(path);
        NoteLate(end, path);
        return end;
    }
    Flush();
    const StandIn& standIn = StandInFor(path);
    const bool insert = slot >= 0 && slot < menu_.Count();
    int used = -1;
    {
        TBitmap::Unselected menuPicture(*standIn.menu);
        used = insert ? menu_.Insert(slot, menuPicture.get(), nullptr) : menu_.Add(menuPicture.get(), nullptr);
    }
    {
        TBitmap::Unselected treePicture(*standIn.tree);
        if (insert) tree_.Insert(slot, treePicture.get(), nullptr);
        else tree_.Add(treePicture.get(), nullptr);
    }
    if (used < 0) return -1;
    if (insert) Inserted(used);
    NoteLate(used, path);
    return used;
}

void IconSources::NoteLate(int slot, const std::string& path) {
    At(slot) = Origin{Kind::File, true, path, {}};
    files_[FileKey(path)] = slot;
    late_.push_back(slot);
    ++lateCount_;
}

int IconSources::AddLateFiles(const std::vector<std::string>& paths) {
    Flush();
    std::vector<std::string> fresh;
    std::unordered_map<std::string, bool> seen;
    for (const std::string& path : paths) {
        const std::string key = FileKey(path);
        if (!files_.count(key) && seen.emplace(key, true).second) fresh.push_back(path);
    }
    const int first = menu_.Count();
    const int added = AppendStandIns(fresh);
    for (int i = 0; i < added; ++i) NoteLate(first + i, fresh[i]);
    return added;
}

void IconSources::Hold(bool hold) {
    if (!hold) Flush();
    held_ = hold;
}

void IconSources::Flush() {
    if (pending_.empty()) return;
    const std::vector<std::string> pending = std::move(pending_);
    pending_.clear();
    AppendStandIns(pending);
}

int IconSources::AppendStandIns(const std::vector<std::string>& paths) {
    // The image lists take a strip of pictures in one call for little more
    // than one picture.
    constexpr size_t kStrip = 256;
    const int w = menu_.Width(), h = menu_.Height();
    for (size_t from = 0; from < paths.size(); from += kStrip) {
        const int n = static_cast<int>(std::min(kStrip, paths.size() - from));
        TBitmap menuStrip(w * n, h), treeStrip(w * n, h + 2);
        uint32_t* menuBits = menuStrip.Bits();
        uint32_t* treeBits = treeStrip.Bits();
        if (!menuBits || !treeBits) return static_cast<int>(from);
        for (int i = 0; i < n; ++i) {
            const StandIn& standIn = StandInFor(paths[from + i]);
            for (int y = 0; y < h + 2; ++y) {
                if (y < h) std::copy_n(standIn.menu->Bits() + y * w, w, menuBits + y * w * n + i * w);
                std::copy_n(standIn.tree->Bits() + y * w, w, treeBits + y * w * n + i * w);
            }
        }
        const int first = menu_.Count();
        {
            TBitmap::Unselected strip(menuStrip);
            if (menu_.Add(strip.get(), nullptr) != first) return static_cast<int>(from);
        }
        TBitmap::Unselected strip(treeStrip);
        tree_.Add(strip.get(), nullptr);
    }
    return static_cast<int>(paths.size());
}

void IconSources::NoteFile(int slot, const std::string& path) {
    if (slot < 0) return;
    At(slot) = Origin{Kind::File, false, path, {}};
    files_[FileKey(path)] = slot;
}

void IconSources::NoteType(int slot, const std::string& ext) {
    if (slot >= 0) At(slot) = Origin{Kind::Type, false, ext, {}};
}

void IconSources::Inserted(int slot) {
    if (slot < 0 || slot >= static_cast<int>(origins_.size())) return;
    origins_.insert(origins_.begin() + slot, Origin{});
    for (auto& [key, at] : files_)
        if (at >= slot) ++at;
    for (int& at : late_)
        if (at >= slot) ++at;
}

void IconSources::CutTo(int count) {
    Flush();
    count = std::max(count, 0);
    for (int slot = count; slot < static_cast<int>(origins_.size()); ++slot)
        if (origins_[slot].late) --lateCount_;
    if (count < static_cast<int>(origins_.size())) origins_.resize(count);
    std::erase_if(files_, [count](const auto& entry) { return entry.second >= count; });
    std::erase_if(late_, [count](int slot) { return slot >= count; });
}

void IconSources::Show(int slot, const TBitmap& menuPicture) {
    const std::unique_ptr<TBitmap> twin = TreeTwin(menuPicture);
    {
        TBitmap::Unselected picture(menuPicture);
        menu_.Replace(slot, picture.get(), nullptr);
    }
    TBitmap::Unselected picture(*twin);
    tree_.Replace(slot, picture.get(), nullptr);
}

bool IconSources::TakeLate(int slot) {
    Origin* o = Find(slot);
    if (!o || !o->late) return false;
    Flush();
    o->late = false;
    --lateCount_;
    // A file gone since has no icon: its type's stands on.
    unique_hicon icon = ShellSmallIcon(o->source);
    if (!icon) return false;
    Show(slot, *IconPicture(icon.get(), menu_.Width()));
    return true;
}

int IconSources::TakeLateFor(double budgetMs) {
    const double start = NowMs();
    int changed = 0;
    while (!late_.empty() && lateCount_ > 0) {
        const int slot = late_.front();
        late_.pop_front();
        if (TakeLate(slot)) ++changed;
        if (NowMs() - start >= budgetMs) break;
    }
    if (lateCount_ == 0) late_.clear();
    return changed;
}

void IconSources::PutFirst(const std::vector<int>& slots) {
    // A slot that is no longer late when its turn comes is passed over.
    for (auto it = slots.rbegin(); it != slots.rend(); ++it) {
        const Origin* o = Find(*it);
        if (o && o->late) late_.push_front(*it);
    }
}

HICON IconSources::AtSize(int slot, int size) {
    Origin* o = Find(slot);
    if (!o || o->kind == Kind::None) return nullptr;
    for (const auto& [known, icon] : o->sized)
        if (known == size) return icon.get();
    unique_hicon icon = o->kind == Kind::File ? ShellIconAtSize(o->source, size) : TypeIcon(o->source, size);
    // A file gone since: the type's picture at that size is still better than
    // the small one scaled.
    if (!icon && o->kind == Kind::File)
        icon = ShellIconAtSize("file" + FileExtension(o->source), size, FILE_ATTRIBUTE_NORMAL);
    o->sized.emplace_back(size, std::move(icon));
    tree_.ViewSlotChanged(slot);
    return o->sized.back().second.get();
}

std::unique_ptr<TBitmap> IconSources::TreePicture(int slot, int width, int height) const {
    const Origin* o = Find(slot);
    if (!o) return nullptr;
    for (const auto& [known, icon] : o->sized) {
        if (known != width || !icon) continue;
        auto picture = std::make_unique<TBitmap>(width, height);
        FillPixels(*picture, WindowColour());
        ::DrawIconEx(picture->Canvas(), 0, (height - width) / 2, icon.get(), width, width, 0, nullptr, DI_NORMAL);
        ::GdiFlush();
        // Opaque throughout, or a 32-bit list takes the picture for translucent.
        if (uint32_t* p = picture->Bits())
            for (int i = 0; i < width * height; ++i) p[i] |= 0xFF000000u;
        return picture;
    }
    return nullptr;
}

}  // namespace rz
