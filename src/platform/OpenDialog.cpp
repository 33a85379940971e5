#include "platform/OpenDialog.h"

#include <vector>

namespace rz {

namespace {
bool RealOpenDialog(OPENFILENAMEA& request) { return ::GetOpenFileNameA(&request) != FALSE; }

// The system wants the filter's parts separated and ended by NUL characters.
std::vector<char> SystemFilter(const std::string& filter) {
    std::vector<char> out(filter.begin(), filter.end());
    for (char& c : out) {
        if (c == '|') c = '\0';
    }
    out.push_back('\0');
    out.push_back('\0');
    return out;
}
}  // namespace

Seam<bool(OPENFILENAMEA&)> ShowOpenDialog{&RealOpenDialog};

bool TOpenDialog::Execute(HWND owner) {
    // Room for any path the ANSI functions can name.
    std::vector<char> file(32768, '\0');
    FileName.copy(file.data(), file.size() - 1);
    std::vector<char> filter = SystemFilter(Filter);
    OPENFILENAMEA request{};
    request.lStructSize = sizeof(request);
    request.hwndOwner = owner;
    request.lpstrFilter = Filter.empty() ? nullptr : filter.data();
    request.nFilterIndex = 1;
    request.lpstrFile = file.data();
    request.nMaxFile = static_cast<DWORD>(file.size());
    request.Flags = Options | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (!ShowOpenDialog(request)) return false;
    FileName = file.data();
    return true;
}

}  // namespace rz
