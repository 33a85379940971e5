#pragma once
// Moves a form to another DPI as the system does when it changes monitor,
// then checks what the user would see: every caption whole in its control
// measured with the control's font, fonts made for that DPI, no two controls
// overlapping (unless one frames the other), nothing outside its parent.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "platform/Control.h"
#include "platform/Dpi.h"
#include "platform/Form.h"

namespace rztest {

struct CaptionRoom {
    const rz::TControl* control;
    // What the control takes besides its text at 96 DPI (a check box's
    // box, a button's edges); negative: the text is not checked.
    int extra96;
};

inline int CALLBACK NoteFontFound(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

// Why a check of captions cannot run here, or "": without the fonts that
// scripts/setup copies into the Wine prefix, captions measure in stand-ins.
inline std::string MissingSetUpFonts() {
    LOGFONTA wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpyA(wanted.lfFaceName, "Tahoma");
    bool found = false;
    HDC screen = ::GetDC(nullptr);
    ::EnumFontFamiliesExA(screen, &wanted, &NoteFontFound, reinterpret_cast<LPARAM>(&found), 0);
    ::ReleaseDC(nullptr, screen);
    return found ? "" : "no \"Tahoma\" in the Wine prefix (scripts/setup copies it): captions measure in stand-ins";
}

inline void MoveToDpi(rz::TForm& form, int dpi) {
    RECT r;
    ::GetWindowRect(form.Handle(), &r);
    RECT suggested{r.left, r.top, r.left + ::MulDiv(r.right - r.left, dpi, 96),
                   r.top + ::MulDiv(r.bottom - r.top, dpi, 96)};
    ::SendMessageA(form.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

inline RECT InParent(HWND control) {
    RECT r;
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

inline bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

inline void ExpectWholeAtDpi(rz::TForm& form, int points, int dpi, const std::vector<CaptionRoom>& controls) {
    MoveToDpi(form, dpi);
    ASSERT_EQ(form.Dpi(), dpi);
    HDC screen = ::GetDC(nullptr);
    for (const CaptionRoom& c : controls) {
        HWND h = c.control->Handle();
        const RECT r = InParent(h);
        RECT parent;
        ::GetClientRect(::GetParent(h), &parent);
        EXPECT_TRUE(Contains(parent, r)) << c.control->Name << " lies outside its window";
        if (c.extra96 < 0) continue;
        // A painted panel draws its caption in its parent's font.
        HFONT font = reinterpret_cast<HFONT>(::SendMessageA(h, WM_GETFONT, 0, 0));
        if (!font) font = reinterpret_cast<HFONT>(::SendMessageA(::GetParent(h), WM_GETFONT, 0, 0));
        LOGFONTA lf{};
        ::GetObjectA(font, sizeof(lf), &lf);
        EXPECT_EQ(lf.lfHeight, -::MulDiv(points, dpi, 72)) << c.control->Name;
        HGDIOBJ old = ::SelectObject(screen, font);
        RECT text{0, 0, 0, 0};
        ::DrawTextA(screen, c.control->Caption().c_str(), -1, &text, DT_SINGLELINE | DT_CALCRECT);
        ::SelectObject(screen, old);
        EXPECT_LE(text.right + ::MulDiv(c.extra96, dpi, 96), r.right - r.left)
            << c.control->Name << " cuts \"" << c.control->Caption() << "\"";
        EXPECT_LE(text.bottom, r.bottom - r.top) << c.control->Name << " cuts its text's height";
    }
    ::ReleaseDC(nullptr, screen);
    for (size_t i = 0; i < controls.size(); ++i) {
        for (size_t j = i + 1; j < controls.size(); ++j) {
            HWND a = controls[i].control->Handle(), b = controls[j].control->Handle();
            if (::GetParent(a) != ::GetParent(b)) continue;
            const RECT ra = InParent(a), rb = InParent(b);
            RECT both;
            if (::IntersectRect(&both, &ra, &rb) && !Contains(ra, rb) && !Contains(rb, ra))
                ADD_FAILURE() << controls[i].control->Name << " overlaps " << controls[j].control->Name;
        }
    }
}

}  // namespace rztest
