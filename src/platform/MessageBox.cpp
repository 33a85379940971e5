#include "platform/MessageBox.h"

namespace rz {

namespace {
int RealMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) {
    return ::MessageBoxA(owner, text.c_str(), caption.c_str(), flags | MB_SETFOREGROUND);
}
}  // namespace

Seam<int(HWND, const std::string&, const std::string&, UINT)> ShowMessageBox{&RealMessageBox};

}  // namespace rz
