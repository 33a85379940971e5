#include "controls/CcvWinTreeView.h"

#include <shellapi.h>
#include <shlobj.h>

#include "platform/TextCodePage.h"

namespace rz {

namespace {

// Another process can post WM_DROPFILES with any value: only a block of ours
// that holds a drop header and its double-terminated name list is read.
bool IsDropStructure(HDROP drop) {
    const HGLOBAL h = reinterpret_cast<HGLOBAL>(drop);
    const SIZE_T size = h ? ::GlobalSize(h) : 0;
    if (size < sizeof(DROPFILES)) return false;
    const auto* block = static_cast<const DROPFILES*>(::GlobalLock(h));
    if (!block) return false;
    const char* bytes = reinterpret_cast<const char*>(block);
    const SIZE_T unit = block->fWide ? sizeof(wchar_t) : 1;
    bool terminated = false;
    if (block->pFiles >= sizeof(DROPFILES) && block->pFiles < size) {
        // The list ends with an empty name: two terminators in a row.
        SIZE_T run = 0;
        for (SIZE_T at = block->pFiles; at + unit <= size && !terminated; at += unit) {
            const bool zero = unit == 1 ? bytes[at] == 0 : (bytes[at] | bytes[at + 1]) == 0;
            run = zero ? run + 1 : 0;
            terminated = run == 2 || (zero && at == block->pFiles);
        }
    }
    ::GlobalUnlock(h);
    return terminated;
}

}  // namespace

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
    // What is not ours to read is not ours to free either.
    if (!IsDropStructure(drop)) return;
    // The drop data is released whatever a handler does.
    struct Finish {
        HDROP h;
        ~Finish() { ::DragFinish(h); }
    } finish{drop};
    ReportFiles(drop);
    if (OnDropFilesDone) {
        TNotifyEvent done = OnDropFilesDone;
        done(this);
    }
}

void TcvWinTreeView::ReportFiles(HDROP drop) {
    if (!OnDropFiles) return;
    UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    POINT at{};
    ::DragQueryPoint(drop, &at);
    for (UINT i = 0; i < count && OnDropFiles; ++i) {
        // Taken whole: a name cut short would be another file's. Wide, as the
        // shell hands names over: the A call counts characters, not bytes.
        std::wstring wide(::DragQueryFileW(drop, i, nullptr, 0), L'\0');
        if (!wide.empty()) wide.resize(::DragQueryFileW(drop, i, wide.data(), static_cast<UINT>(wide.size() + 1)));
        const std::string name = FromUtf16(wide);
        // A handler may clear the event: keep it alive for this call.
        TDockedEvent handler = OnDropFiles;
        handler(this, name, at);
    }
}

}  // namespace rz
