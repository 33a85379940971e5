#include "TestSupport.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "items/ItemIcons.h"
#include "platform/Bitmap.h"
#include "platform/ImageList.h"

namespace rztest {

namespace {

std::wstring Wide(const std::string& text) {
    std::wstring out(::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, out.data(), static_cast<int>(out.size()));
    out.resize(out.size() - 1);
    return out;
}

}  // namespace

void MakeShortcut(const std::string& lnk, const std::string& target, const std::string& arguments) {
    const HRESULT com = ::CoInitialize(nullptr);
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    HRESULT hr = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                    reinterpret_cast<void**>(&link));
    if (SUCCEEDED(hr)) {
        link->SetPath(Wide(target).c_str());
        link->SetArguments(Wide(arguments).c_str());
        hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    }
    if (SUCCEEDED(hr)) hr = file->Save(Wide(lnk).c_str(), TRUE);
    if (file) file->Release();
    if (link) link->Release();
    if (SUCCEEDED(com)) ::CoUninitialize();
    if (FAILED(hr)) throw std::runtime_error("the shell made no shortcut " + lnk);
}

TempDir::TempDir() {
    char base[MAX_PATH];
    ::GetTempPathA(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;) {
        std::string candidate =
            std::string(base) + "rztest_" + std::to_string(::GetCurrentProcessId()) + "_" + std::to_string(++counter);
        if (::CreateDirectoryA(candidate.c_str(), nullptr)) {
            path_ = candidate + "\\";
            return;
        }
        if (::GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot create temp dir");
    }
}

TempDir::~TempDir() { RemoveTree(path_.substr(0, path_.size() - 1)); }

std::string SystemProgram(const char* name) {
    char windows[MAX_PATH] = "";
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    return std::string(windows) + "\\" + name;
}

int IconDifference(const rz::TImageList& list, int slot, const std::string& path) {
    // Both drawn over a colour no icon uses.
    rz::TBitmap shown(list.Width(), list.Width()), expected(list.Width(), list.Width());
    for (rz::TBitmap* b : {&shown, &expected})
        for (int y = 0; y < b->Height(); ++y)
            for (int x = 0; x < b->Width(); ++x) b->SetPixel(x, y, 0xFF123456u);
    list.Draw(shown.Canvas(), 0, 0, slot);
    rz::unique_hicon icon = rz::ShellSmallIcon(path);
    ::DrawIconEx(expected.Canvas(), 0, 0, icon.get(), list.Width(), list.Width(), 0, nullptr, DI_NORMAL);
    int most = 0;
    for (int y = 0; y < shown.Height(); ++y)
        for (int x = 0; x < shown.Width(); ++x)
            for (int shift = 0; shift < 24; shift += 8) {
                const int a = static_cast<int>((shown.Pixel(x, y) >> shift) & 0xFF);
                const int b = static_cast<int>((expected.Pixel(x, y) >> shift) & 0xFF);
                most = std::max(most, a > b ? a - b : b - a);
            }
    return most;
}

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool FileExists(const std::string& path) {
    DWORD a = ::GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirExists(const std::string& path) {
    DWORD a = ::GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

unsigned GdiObjectsInUse() {
    DWORD counted = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted) return counted;
    // Freed handle slots are reused first: probes beyond them show the top.
    constexpr int kProbes = 4000;
    std::vector<HBRUSH> probes;
    unsigned top = 0;
    for (int i = 0; i < kProbes; ++i) {
        HBRUSH b = ::CreateSolidBrush(RGB(i & 0xFF, 1, 2));
        probes.push_back(b);
        top = std::max<unsigned>(top, LOWORD(reinterpret_cast<ULONG_PTR>(b)));
    }
    for (HBRUSH b : probes) ::DeleteObject(b);
    return top > kProbes ? top - kProbes : 0;
}

void MakeDir(const std::string& path) { ::CreateDirectoryA(path.c_str(), nullptr); }

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA fd;
    HANDLE h = ::FindFirstFileA((path + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            std::string full = path + "\\" + name;
            // A link left by a failed test: never clean up through it.
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                ::SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(full.c_str());
            }
        } while (::FindNextFileA(h, &fd));
        ::FindClose(h);
    }
    ::RemoveDirectoryA(path.c_str());
}

HGLOBAL MakeDrop(const std::vector<std::string>& paths, POINT at) {
    std::wstring names;
    for (const std::string& p : paths) {
        std::wstring wide(p.size(), L'\0');
        wide.resize(static_cast<size_t>(::MultiByteToWideChar(CP_UTF8, 0, p.data(), static_cast<int>(p.size()),
                                                              wide.data(), static_cast<int>(wide.size()))));
        names += wide + L'\0';
    }
    names += L'\0';
    const size_t bytes = names.size() * sizeof(wchar_t);
    HGLOBAL h = ::GlobalAlloc(GHND, sizeof(DROPFILES) + bytes);
    auto* block = static_cast<DROPFILES*>(::GlobalLock(h));
    block->pFiles = sizeof(DROPFILES);
    block->pt = at;
    block->fNC = FALSE;
    block->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(block) + sizeof(DROPFILES), names.data(), bytes);
    ::GlobalUnlock(h);
    return h;
}

}  // namespace rztest

namespace rztest {

namespace {

bool IsLink(const std::string& path) {
    DWORD a = ::GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Wine's own name of a Windows path on the Unix side, or empty off Wine.
std::string UnixPath(const std::string& path) {
    using Fn = char*(CDECL*)(const wchar_t*);
    auto toUnix = reinterpret_cast<Fn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) return {};
    std::wstring wide(path.begin(), path.end());
    char* unixName = toUnix(wide.c_str());
    if (!unixName) return {};
    std::string out = unixName;
    ::HeapFree(::GetProcessHeap(), 0, unixName);
    return out;
}

// The handle of a Unix program that Wine started may signal before the
// program has done its work: its result is polled for.
template <class F>
bool Eventually(F done) {
    for (int i = 0; i < 100 && !done(); ++i) ::Sleep(20);
    return done();
}

// Wine starts Unix programs too; quoting is left out, test paths have no blanks.
bool RunUnix(const std::string& commandLine) {
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    std::string command = commandLine;
    if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    ::WaitForSingleObject(pi.hProcess, 10000);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return true;
}

}  // namespace

FolderLink::FolderLink(const std::string& link, const std::string& target) : link_(link) {
    using CreateLinkFn = BOOLEAN(WINAPI*)(LPCSTR, LPCSTR, DWORD);
    auto createLink = reinterpret_cast<CreateLinkFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "CreateSymbolicLinkA")));
    // Directory link, allowed without elevation where the system permits it.
    if (createLink && createLink(link.c_str(), target.c_str(), 0x1 | 0x2) && IsLink(link)) {
        made_ = true;
        return;
    }
    const std::string unixTarget = UnixPath(target);
    unixLink_ = UnixPath(link);
    if (unixLink_.empty() || unixTarget.empty()) return;
    made_ = RunUnix("Z:\\bin\\ln -s " + unixTarget + " " + unixLink_) && Eventually([&] { return IsLink(link); });
}

void FolderLink::MovedTo(const std::string& link) {
    link_ = link;
    if (!unixLink_.empty()) unixLink_ = UnixPath(link);
}

FolderLink::~FolderLink() {
    if (!IsLink(link_)) return;
    // Wine follows the link in every call of its own: only rm removes it.
    if (!unixLink_.empty()) {
        RunUnix("Z:\\bin\\rm -f " + unixLink_);
        Eventually([&] { return !IsLink(link_); });
    } else ::RemoveDirectoryA(link_.c_str());
}

}  // namespace rztest
