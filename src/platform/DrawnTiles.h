#pragma once
// Pictures already drawn over their background, kept as opaque square tiles
// of one bitmap: copying a tile costs a fraction of blending the picture
// again, and a thousand tiles hold two GDI objects.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>

namespace rz {

class TBitmap;

class TDrawnTiles {
public:
    TDrawnTiles();
    ~TDrawnTiles();
    TDrawnTiles(const TDrawnTiles&) = delete;
    TDrawnTiles& operator=(const TDrawnTiles&) = delete;

    // Copies the size x size tile of key to (x, y), having paint draw it
    // first onto an empty tile where there is none. False when no tile could
    // be made (the caller then draws directly).
    bool Draw(HDC dc, int x, int y, int size, uint64_t key, const std::function<bool(HDC tile)>& paint);
    void Clear();

    static constexpr int kPerRow = 16;
    static constexpr int kRows = 16;

private:
    std::unique_ptr<TBitmap> atlas_;
    int size_ = 0;
    std::unordered_map<uint64_t, int> tiles_;
};

}  // namespace rz
