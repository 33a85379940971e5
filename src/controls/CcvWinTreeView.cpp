#include "controls/CcvWinTreeView.h"

#include <shellapi.h>

namespace rz {

void TcvWinTreeView::CreateWnd(HWND parent, DWORD extraStyle) {
    TTreeView::CreateWnd(parent, extraStyle);
    Loaded();
}

void TcvWinTreeView::Loaded() {
    if (!Handle()) return;
    ::DragAcceptFiles(Handle(), TRUE);
}

bool TcvWinTreeView::WindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg != WM_DROPFILES) return TTreeView::WindowMessage(msg, wp, lp, result);
    DropFiles(reinterpret_cast<HDROP>(wp));
    result = 0;
    return true;
}

void TcvWinTreeView::DropFiles(HDROP drop) {
    // The drop data is released whatever a handler does.
    struct Finish {
        HDROP h;
        ~Finish() { ::DragFinish(h); }
    } finish{drop};
    if (!OnDropFiles) return;
    UINT count = ::DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    POINT at{};
    ::DragQueryPoint(drop, &at);
    for (UINT i = 0; i < count && OnDropFiles; ++i) {
        // Taken whole: a name cut short would be another file's.
        std::string name(::DragQueryFileA(drop, i, nullptr, 0), '\0');
        if (!name.empty()) name.resize(::DragQueryFileA(drop, i, name.data(), static_cast<UINT>(name.size() + 1)));
        // A handler may clear the event: keep it alive for this call.
        TDockedEvent handler = OnDropFiles;
        handler(this, name, at);
    }
}

}  // namespace rz
