#include "platform/FileIO.h"

#include <windows.h>

#include <vector>

#include "platform/Handles.h"
#include "platform/TextCodePage.h"

namespace rz {

namespace {

// CreateDirectory refuses from here on; the other calls a little later.
constexpr size_t kClassicLimit = MAX_PATH - 12;

bool IsDrivePath(const std::string& p) { return p.size() > 2 && p[1] == ':' && p[2] == '\\'; }
// "\\server\share\...", not "\\?\..." (already lifted) nor "\\.\..." (a device).
bool IsUncPath(const std::string& p) {
    return p.size() > 2 && p.compare(0, 2, "\\\\") == 0 && p[2] != '?' && p[2] != '.';
}

std::wstring LongForm(const std::string& path) {
    if (IsDrivePath(path)) return L"\\\\?\\" + ToUtf16(path);
    if (IsUncPath(path)) return L"\\\\?\\UNC\\" + ToUtf16(path).substr(2);
    return ToUtf16(path);
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr)) return false;
        if (written == 0) {
            // A device that takes nothing and says nothing is full all the same.
            ::SetLastError(ERROR_DISK_FULL);
            return false;
        }
        done += written;
    }
    return true;
}

bool WriteFileChecked(const std::string& path, const std::string& bytes) {
    unique_handle_kernel file = OwnedFile(::CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    if (!WriteAll(file.get(), bytes)) return false;
    HANDLE raw = file.release();
    if (!::CloseHandle(raw)) return false;
    // What a layer below accepted and then dropped shows in the size.
    unsigned long long size = 0;
    if (!FileSizeOf(path, size)) return false;
    if (size != bytes.size()) {
        ::SetLastError(ERROR_WRITE_FAULT);
        return false;
    }
    return true;
}

}  // namespace

std::wstring WidePath(const std::string& path) { return path.size() < kClassicLimit ? ToUtf16(path) : LongForm(path); }

std::wstring ExactWidePath(const std::string& path) { return LongForm(path); }

std::string NarrowName(const wchar_t* name) { return FromUtf16(name); }

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    unique_handle_kernel file =
        OwnedFile(::CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    std::vector<char> buffer(1 << 16);
    for (;;) {
        DWORD n = 0;
        if (!::ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &n, nullptr)) return false;
        if (n == 0) return true;
        bytes.append(buffer.data(), n);
    }
}

Seam<bool(const std::string&, const std::string&)> WriteWholeFile{&WriteFileChecked};

std::string ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            return NarrowName(path.c_str());
        }
        path.resize(path.size() * 2);
    }
}

bool ReplaceWholeFile(const std::string& path, const std::string& bytes) {
    const std::string temporary = path + ".tmp";
    if (!WriteWholeFile(temporary, bytes) || !::MoveFileExW(WidePath(temporary).c_str(), WidePath(path).c_str(),
                                                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD reason = ::GetLastError();
        ::DeleteFileW(WidePath(temporary).c_str());
        ::SetLastError(reason);
        return false;
    }
    return true;
}

namespace {
bool AppendChecked(const std::string& path, const std::string& bytes) {
    unique_handle_kernel file = OwnedFile(::CreateFileW(WidePath(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ,
                                                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file || !WriteAll(file.get(), bytes)) return false;
    return ::CloseHandle(file.release()) != FALSE;
}
}  // namespace

Seam<bool(const std::string&, const std::string&)> AppendToFile{&AppendChecked};

bool FileSizeOf(const std::string& path, unsigned long long& size) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data)) return false;
    size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

bool CreateFolder(const std::string& path) { return ::CreateDirectoryW(WidePath(path).c_str(), nullptr) != FALSE; }

bool FolderRefusesNewFiles(const std::string& folder) {
    unique_handle_kernel probe =
        OwnedFile(::CreateFileW(WidePath(folder + "razaveza.probe").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (probe) return false;
    const DWORD why = ::GetLastError();
    return why == ERROR_ACCESS_DENIED || why == ERROR_WRITE_PROTECT;
}

}  // namespace rz
