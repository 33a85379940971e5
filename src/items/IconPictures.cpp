#include "items/IconPictures.h"

#include <array>
#include <vector>

namespace rz {

namespace {

constexpr int kSide = 16;

uint8_t Channel(uint32_t argb, int shift) { return static_cast<uint8_t>((argb >> shift) & 0xFF); }

// For every alpha, which channel value makes the list draw each blended
// value: measured once on the list itself, since the platforms round their
// blending differently. blend[a][v] is what v at alpha a draws as; unblend
// gives back the smallest v that draws as a value.
class BlendTable {
public:
    BlendTable() {
        TImageList list("BlendTable", 256, 256);
        TBitmap source(256, 256);
        for (int a = 0; a < 256; ++a)
            for (int v = 0; v < 256; ++v) source.SetPixel(v, a, (uint32_t(a) << 24) | (uint32_t(v) * 0x010101u));
        {
            TBitmap::Unselected bitmap(source);
            // A key no grey pixel has: nothing is masked.
            list.InsertMasked(0, bitmap.get(), RGB(1, 2, 3));
        }
        TBitmap drawn(256, 256);
        list.Draw(drawn.Canvas(), 0, 0, 0);
        for (int a = 0; a < 256; ++a) {
            std::array<int, 256> smallest;
            smallest.fill(-1);
            for (int v = 255; v >= 0; --v) smallest[Channel(drawn.Pixel(v, a), 0)] = v;
            // Values the blending never gives take the nearest one below.
            int last = 0;
            for (int y = 0; y < 256; ++y) {
                if (smallest[y] >= 0) last = smallest[y];
                unblend_[a * 256 + y] = static_cast<uint8_t>(last);
            }
        }
    }
    uint8_t Unblend(int alpha, uint8_t value) const { return unblend_[alpha * 256 + value]; }

private:
    // On the heap: as a static array it would sit in the executable.
    std::vector<uint8_t> unblend_ = std::vector<uint8_t>(256 * 256);
};

const BlendTable& Blending() {
    static const BlendTable table;
    return table;
}

// A colour for the mask that no pixel to be shown has.
COLORREF FreeMaskColour(const TBitmap& picture) {
    // Magenta first, then darker ones: 257 different candidates for 256 pixels.
    const uint32_t* bits = picture.Bits();
    for (uint32_t i = 0;; ++i) {
        const uint32_t fade = 0xFF - (i & 0xFF);
        const uint32_t key = (fade << 16) | (((i >> 8) & 0xFF) << 8) | fade;
        bool used = false;
        for (int p = 0; p < kSide * kSide && !used; ++p) used = (bits[p] >> 24) != 0 && (bits[p] & 0xFFFFFFu) == key;
        if (!used) return RGB(Channel(key, 16), Channel(key, 8), Channel(key, 0));
    }
}

}  // namespace

std::optional<LoadedPicture> LoadIconPicture(const std::string& path) {
    auto loaded = std::make_unique<TBitmap>(kSide, kSide);
    if (!loaded->LoadFromFile(path)) return std::nullopt;
    uint32_t* bits = loaded->Bits();
    if (!bits) return std::nullopt;
    bool hasAlpha = false;
    for (int i = 0; i < kSide * kSide && !hasAlpha; ++i) hasAlpha = (bits[i] >> 24) != 0;
    if (!hasAlpha) {
        // Pictures from elsewhere: the bottom-left pixel is their transparent colour.
        uint32_t key = bits[(kSide - 1) * kSide];
        return LoadedPicture{std::move(loaded), RGB(Channel(key, 16), Channel(key, 8), Channel(key, 0))};
    }
    // Pictures we write keep alpha 0 where nothing was drawn.
    COLORREF mask = FreeMaskColour(*loaded);
    const uint32_t keyPixel = (uint32_t(GetRValue(mask)) << 16) | (uint32_t(GetGValue(mask)) << 8) | GetBValue(mask);
    bits = loaded->Bits();
    for (int i = 0; i < kSide * kSide; ++i)
        if ((bits[i] >> 24) == 0) bits[i] = keyPixel;
    return LoadedPicture{std::move(loaded), mask};
}

bool SaveIconPicture(const TImageList& list, int slot, const std::string& path) {
    TBitmap picture(kSide, kSide);
    list.Draw(picture.Canvas(), 0, 0, slot);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const uint32_t p = picture.Pixel(x, y);
            const int a = static_cast<int>(p >> 24);
            if (a == 0 || a == 255) continue;
            const BlendTable& t = Blending();
            picture.SetPixel(x, y,
                             (uint32_t(a) << 24) | (uint32_t(t.Unblend(a, Channel(p, 16))) << 16) |
                                 (uint32_t(t.Unblend(a, Channel(p, 8))) << 8) | t.Unblend(a, Channel(p, 0)));
        }
    }
    return picture.SaveToFile(path);
}

}  // namespace rz
