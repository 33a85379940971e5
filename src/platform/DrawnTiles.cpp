#include "platform/DrawnTiles.h"

#include "platform/Bitmap.h"

namespace rz {

TDrawnTiles::TDrawnTiles() = default;
TDrawnTiles::~TDrawnTiles() = default;

void TDrawnTiles::Clear() { tiles_.clear(); }

bool TDrawnTiles::Draw(HDC dc, int x, int y, int size, uint64_t key, const std::function<bool(HDC tile)>& paint) {
    if (size <= 0) return false;
    if (!atlas_ || size != size_) {
        atlas_ = std::make_unique<TBitmap>(size * kPerRow, size * kRows);
        size_ = size;
        tiles_.clear();
    }
    if (!atlas_->Bits()) return false;
    auto found = tiles_.find(key);
    if (found == tiles_.end()) {
        // Full: the pictures in use now are drawn again as they come.
        if (tiles_.size() >= static_cast<size_t>(kPerRow * kRows)) tiles_.clear();
        const int tile = static_cast<int>(tiles_.size());
        const int tx = tile % kPerRow * size, ty = tile / kPerRow * size;
        // The tile's own origin and edges: paint draws at (0, 0).
        const int saved = ::SaveDC(atlas_->Canvas());
        ::SetViewportOrgEx(atlas_->Canvas(), tx, ty, nullptr);
        ::IntersectClipRect(atlas_->Canvas(), 0, 0, size, size);
        const bool painted = paint(atlas_->Canvas());
        ::RestoreDC(atlas_->Canvas(), saved);
        if (!painted) return false;
        found = tiles_.emplace(key, tile).first;
    }
    const int tile = found->second;
    return ::BitBlt(dc, x, y, size, size, atlas_->Canvas(), tile % kPerRow * size, tile / kPerRow * size, SRCCOPY) !=
           FALSE;
}

}  // namespace rz
