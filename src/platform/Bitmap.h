#pragma once
// A 32-bit top-down DIB section with its own memory DC: the "picture" with a
// canvas that icon conversion draws on and that icon picture files are
// written from.

#include <cstdint>
#include <string>

#include "platform/Handles.h"

namespace rz {

class TBitmap {
public:
    TBitmap(int width, int height);
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    HDC Canvas() const { return dc_.get(); }
    HBITMAP Handle() const { return bitmap_.get(); }
    // A bitmap can be selected into one DC only: image list calls need it
    // out of the canvas for their duration.
    class Unselected {
    public:
        explicit Unselected(const TBitmap& b) : b_(b) { ::SelectObject(b.dc_.get(), b.oldBitmap_); }
        ~Unselected() { ::SelectObject(b_.dc_.get(), b_.bitmap_.get()); }
        Unselected(const Unselected&) = delete;
        Unselected& operator=(const Unselected&) = delete;
        HBITMAP get() const { return b_.bitmap_.get(); }

    private:
        const TBitmap& b_;
    };
    uint32_t Pixel(int x, int y) const;
    void SetPixel(int x, int y, uint32_t argb);
    // All pixels, rows top-down, after one flush of pending drawing: Pixel and
    // SetPixel flush on every call, a call into the system each. Null if the
    // bitmap could not be made.
    uint32_t* Bits();
    const uint32_t* Bits() const;

    // Writes a 32-bpp bottom-up BMP file; false when the file cannot be written.
    bool SaveToFile(const std::string& path) const;
    // Loads any BMP the system reads, drawn onto this bitmap at (0, 0); false on failure.
    bool LoadFromFile(const std::string& path);

private:
    bool LoadFromBytes(const std::string& path);
    int width_;
    int height_;
    uint32_t* bits_ = nullptr;
    unique_hbitmap bitmap_;
    unique_hdc dc_;
    HGDIOBJ oldBitmap_ = nullptr;
};

}  // namespace rz
