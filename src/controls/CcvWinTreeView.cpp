#include "controls/CcvWinTreeView.h"

#include <shellapi.h>

#include "support/UcvSysStr.h"

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
    UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    POINT at{};
    ::DragQueryPoint(drop, &at);
    for (UINT i = 0; i < count && OnDropFiles; ++i) {
        // Taken whole: a name cut short would be another file's. Wide, as the
        // shell hands names over: the A call counts characters, not bytes.
        std::wstring wide(::DragQueryFileW(drop, i, nullptr, 0), L'\0');
        if (!wide.empty()) wide.resize(::DragQueryFileW(drop, i, wide.data(), static_cast<UINT>(wide.size() + 1)));
        const std::string name = FromWide(wide, CP_ACP);
        // A handler may clear the event: keep it alive for this call.
        TDockedEvent handler = OnDropFiles;
        handler(this, name, at);
    }
}

}  // namespace rz
