#include "platform/Bevel.h"

#include "platform/Handles.h"

namespace rz {

void TBevel::CreateWnd(HWND parent) { CreateControl(parent, PaintedClass(), "", 0); }

bool TBevel::WindowMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) {
    switch (msg) {
        case WM_PAINT: {
            PaintDC dc(Handle());
            RECT r;
            ::GetClientRect(Handle(), &r);
            ::FillRect(dc.get(), &r, ::GetSysColorBrush(COLOR_BTNFACE));
            // Shadow above, highlight below: an engraved line.
            ::DrawEdge(dc.get(), &r, BDR_SUNKENOUTER, BF_TOP);
            result = 0;
            return true;
        }
        case WM_NCHITTEST:
            // A line never takes the mouse from what lies under it.
            result = HTTRANSPARENT;
            return true;
        default: return false;
    }
}

}  // namespace rz
