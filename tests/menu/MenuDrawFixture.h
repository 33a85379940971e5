#pragma once
// The real forms with the launcher menu's drawing handlers, a sentinel-filled
// DIB to paint entries into, and readers for what landed in it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "controls/CcvWinTreeView.h"
#include "core/Settings.h"
#include "items/ItemIcons.h"
#include "items/ItemStore.h"
#include "items/LauncherParts.h"
#include "manager/form_items.h"
#include "menu/form_shortcuts.h"
#include "platform/Bitmap.h"
#include "platform/Form.h"
#include "platform/Handles.h"
#include "platform/Menu.h"

namespace rztest {

// Pixel colours are compared as 0xRRGGBB, the way TBitmap::Pixel reads them.
inline uint32_t Sys(int index) {
    COLORREF c = ::GetSysColor(index);
    return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}

// Not a colour of the scheme below: whatever still shows it was not painted.
inline constexpr uint32_t kUntouched = 0x123456;

// Wine's default scheme paints menus, button highlights and highlighted text
// all white; a scheme of distinct colours shows which index each pixel used.
class DistinctSysColours {
public:
    DistinctSysColours() {
        for (int i = 0; i < kCount; ++i) old_[i] = ::GetSysColor(kIndices[i]);
        ::SetSysColors(kCount, kIndices, kScheme);
    }
    ~DistinctSysColours() { ::SetSysColors(kCount, kIndices, old_); }
    DistinctSysColours(const DistinctSysColours&) = delete;
    DistinctSysColours& operator=(const DistinctSysColours&) = delete;
    bool InEffect() const {
        for (int i = 0; i < kCount; ++i)
            if (::GetSysColor(kIndices[i]) != kScheme[i]) return false;
        return true;
    }

private:
    static constexpr int kCount = 8;
    static constexpr int kIndices[kCount] = {
        COLOR_MENU,      COLOR_MENUTEXT,     COLOR_HIGHLIGHT,       COLOR_HIGHLIGHTTEXT,
        COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_INACTIVECAPTION, COLOR_INACTIVECAPTIONTEXT};
    static constexpr COLORREF kScheme[kCount] = {RGB(236, 233, 216), RGB(10, 20, 30),    RGB(49, 106, 197),
                                                 RGB(250, 240, 200), RGB(172, 168, 153), RGB(255, 255, 255),
                                                 RGB(122, 150, 223), RGB(90, 10, 60)};
    COLORREF old_[kCount]{};
};

class Surface : public rz::TBitmap {
public:
    Surface(int width, int height) : rz::TBitmap(width, height) { Clear(); }
    void Clear() {
        rz::unique_hbrush brush(::CreateSolidBrush(RGB(0x12, 0x34, 0x56)));
        RECT all{0, 0, Width(), Height()};
        ::FillRect(Canvas(), &all, brush.get());
    }
    uint32_t At(int x, int y) const { return Pixel(x, y) & 0xFFFFFF; }
    // Bounding box of the pixels inside area that differ from background; empty if none.
    RECT Ink(const RECT& area, uint32_t background) const {
        RECT box{area.right, area.bottom, area.left, area.top};
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                if (At(x, y) == background) continue;
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
        }
        return box;
    }
    // Bounding box of the pixels inside area that show colour; empty if none.
    RECT Where(const RECT& area, uint32_t colour) const {
        RECT box{area.right, area.bottom, area.left, area.top};
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                if (At(x, y) != colour) continue;
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
        }
        return box;
    }
    int CountOf(const RECT& area, uint32_t colour) const {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) n += At(x, y) == colour;
        return n;
    }
};

inline bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

// Extent of text in a font made from a face and a point size on dc's resolution.
inline SIZE TextSize(HDC dc, const std::string& face, int points, const std::string& text) {
    rz::unique_hfont font(::CreateFontA(-::MulDiv(points, ::GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, 0,
                                        0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face.c_str()));
    rz::SelectGuard selected(dc, font.get());
    wchar_t wide[256] = {};
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide, 256);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, wide, length, &size);
    return size;
}

// Hands the menu messages to the open popup, as the hidden main form does.
class OwnerForm : public rz::TForm {
public:
    OwnerForm() : TForm("PopupOwner") { CreateForm("PopupOwner", 0, 0, WS_POPUP, WS_EX_TOOLWINDOW); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        LRESULT result = 0;
        if (rz::TPopupMenu* open = rz::TPopupMenu::Current(); open && open->HandleOwnerMessage(msg, wp, lp, result))
            return result;
        return TForm::HandleMessage(msg, wp, lp);
    }
};

inline rz::TMenuItem& AddEntry(rz::TMenuItem& level, const std::string& caption, int tag, int image = -1,
                               bool visible = true) {
    auto entry = std::make_unique<rz::TMenuItem>();
    entry->Caption = caption;
    entry->Tag = tag;
    entry->ImageIndex = image;
    entry->Visible = visible;
    return *level.Add(std::move(entry));
}

// The head of a user folder as the loader builds it with DrawMenuBar on.
inline void AddBarAndHidden(rz::TMenuItem& level, const std::string& title) {
    AddEntry(level, title, rz::kTagBarMaker, -1, false);
    AddEntry(level, "Hiding", rz::kTagHidden, -1, false);
}

class MenuDrawTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = rz::Settings;
        rz::Settings.WindowsDraw = false;
        rz::Settings.FontName = "Tahoma";
        rz::Settings.FontSize = 8;
        colours_ = std::make_unique<DistinctSysColours>();
        ASSERT_TRUE(colours_->InEffect());
        // Only the two forms the handlers use: the hidden main form takes
        // two seconds to tear down under Wine.
        parts_ = std::make_unique<rz::LauncherParts>(tree_);
        shortCuts_ = std::make_unique<rz::TFormShortCuts>(*parts_);
        items_ = std::make_unique<rz::TFormItems>(*parts_, tree_);
        ASSERT_GT(Items().ILAllPublicPM.Count(), 0);
    }
    void TearDown() override {
        items_.reset();
        shortCuts_.reset();
        parts_.reset();
        colours_.reset();
        rz::Settings = saved_;
    }

    rz::TFormItems& Items() const { return *items_; }
    rz::TFormShortCuts& ShortCuts() const { return *shortCuts_; }
    rz::LauncherParts& Parts() const { return *parts_; }

    void Measure(rz::TMenuItem& entry, HDC dc, int& width, int& height) {
        ShortCuts().NorItemsRTMeasureItem(&entry, dc, width, height);
    }
    void DrawItem(rz::TMenuItem& entry, HDC dc, const RECT& r, bool selected) {
        ShortCuts().NorItemsRTDrawItem(&entry, dc, r, selected);
    }
    void DrawSeparator(rz::TMenuItem& entry, HDC dc, const RECT& r) {
        ShortCuts().SpeItemsRTDrawItem(&entry, dc, r, false);
    }

    // What the menu loop does with a level: every visible owner-drawn entry
    // is measured, then painted top down in its measured height from the
    // column's corner; the platform's entries (19, separators 8) are left
    // unpainted, or with platformPaints filled as the platform does before
    // the menu puts its side bar back. Only rows that meet shown (the part
    // of a scrolled column in view) are painted. Returns the height laid out.
    static int PaintLevel(rz::TMenuItem& level, HDC dc, int width, POINT corner = {0, 0}, const RECT* shown = nullptr,
                          bool platformPaints = false) {
        std::vector<int> heights(level.Count(), 0);
        int total = 0;
        for (int i = 0; i < level.Count(); ++i) {
            rz::TMenuItem& e = *level.Items(i);
            int w = 0;
            if (e.Visible && e.OnMeasureItem && e.OnDrawItem) e.OnMeasureItem(&e, dc, w, heights[i]);
            else heights[i] = e.IsLine() ? 8 : 19;
            if (e.Visible) total += heights[i];
        }
        const RECT column{corner.x, corner.y, corner.x + width, corner.y + total};
        int y = 0;
        for (int i = 0; i < level.Count(); ++i) {
            rz::TMenuItem& e = *level.Items(i);
            if (!e.Visible) continue;
            const RECT r{corner.x, corner.y + y, corner.x + width, corner.y + y + heights[i]};
            y += heights[i];
            RECT meet{};
            if (shown && !::IntersectRect(&meet, &r, shown)) continue;
            if (e.OnDrawItem) {
                e.OnDrawItem(&e, dc, r, false);
            } else if (platformPaints) {
                ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_MENU));
                rz::PaintPlatformEntrySideBar(e, dc, *rz::CurrentPalette(), column, r);
            }
        }
        return y;
    }

private:
    rz::TSettings saved_;
    std::unique_ptr<DistinctSysColours> colours_;
    rz::TcvWinTreeView tree_{"TVItems"};
    std::unique_ptr<rz::LauncherParts> parts_;
    std::unique_ptr<rz::TFormShortCuts> shortCuts_;
    std::unique_ptr<rz::TFormItems> items_;
};

}  // namespace rztest
