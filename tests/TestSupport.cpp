#include "TestSupport.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace rztest {

TempDir::TempDir() {
    char base[MAX_PATH];
    ::GetTempPathA(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;) {
        std::string candidate = std::string(base) + "rztest_" + std::to_string(::GetCurrentProcessId()) +
                                "_" + std::to_string(++counter);
        if (::CreateDirectoryA(candidate.c_str(), nullptr)) {
            path_ = candidate + "\\";
            return;
        }
        if (::GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot create temp dir");
    }
}

TempDir::~TempDir() { RemoveTree(path_.substr(0, path_.size() - 1)); }

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
    std::string names;
    for (const std::string& p : paths) names += p + '\0';
    names += '\0';
    HGLOBAL h = ::GlobalAlloc(GHND, sizeof(DROPFILES) + names.size());
    auto* block = static_cast<DROPFILES*>(::GlobalLock(h));
    block->pFiles = sizeof(DROPFILES);
    block->pt = at;
    block->fNC = FALSE;
    block->fWide = FALSE;
    std::memcpy(reinterpret_cast<char*>(block) + sizeof(DROPFILES), names.data(), names.size());
    ::GlobalUnlock(h);
    return h;
}

}  // namespace rztest
