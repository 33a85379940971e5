#include "support/FileNames.h"

#include <windows.h>

#include <array>

#include "platform/TextCodePage.h"
#include "support/UcvSysStr.h"

namespace rz {

std::string StoredFileName(const std::string& name) {
    size_t end = name.size();
    while (end > 0 && (name[end - 1] == '.' || name[end - 1] == ' ')) --end;
    return name.substr(0, end);
}

std::string FileNameKey(const std::string& name) {
    // Case is folded on the UTF-16 form, as the file system folds it, so that
    // letters beyond ASCII match their capitals in any script.
    std::wstring wide = ToUtf16(StoredFileName(name));
    if (!wide.empty()) ::CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    return FromUtf16(wide);
}

bool SameFileName(const std::string& a, const std::string& b) { return FileNameKey(a) == FileNameKey(b); }

bool HasOnlyNameCharacters(const std::string& name) {
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 32) return false;
    }
    return name.find_first_of("\\/:*?\"<>|") == std::string::npos;
}

bool IsDeviceName(const std::string& name) {
    std::string base = UpperCase(name.substr(0, name.find('.')));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    static const std::array<const char*, 4> kDevices = {"CON", "PRN", "AUX", "NUL"};
    for (const char* d : kDevices) {
        if (base == d) return true;
    }
    if (base.size() < 4 || (base.compare(0, 3, "COM") != 0 && base.compare(0, 3, "LPT") != 0)) return false;
    const std::string digit = base.substr(3);
    if (digit.size() == 1 && digit[0] >= '0' && digit[0] <= '9') return true;
    // Superscript one, two and three count too: in UTF-8, and in the Western
    // code page where the system keeps it.
    for (const char* superscript : {"\xC2\xB9", "\xC2\xB2", "\xC2\xB3", "\xB9", "\xB2", "\xB3"}) {
        if (digit == superscript) return true;
    }
    return false;
}

bool IsPlainFileName(const std::string& name) {
    if (!HasOnlyNameCharacters(name) || IsDeviceName(name)) return false;
    const std::string stored = StoredFileName(name);
    // "..." is stored as nothing: the folder itself.
    return !stored.empty() && stored != "." && stored != "..";
}

}  // namespace rz
