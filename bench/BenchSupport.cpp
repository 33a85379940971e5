#include "BenchSupport.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "support/UcvSysIO.h"

namespace rzbench {

double Stopwatch::Ms() const {
    LARGE_INTEGER now, freq;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&freq);
    return static_cast<double>(now.QuadPart - start_.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

MemoryFigures CurrentMemory() {
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof(pmc);
    MemoryFigures m;
    if (::GetProcessMemoryInfo(::GetCurrentProcess(), &pmc, sizeof(pmc))) {
        m.workingSetMb = static_cast<double>(pmc.WorkingSetSize) / (1024.0 * 1024.0);
        m.privateMb = static_cast<double>(pmc.PagefileUsage) / (1024.0 * 1024.0);
    }
    return m;
}

namespace {

template <class Make, class Free>
unsigned TableTop(Make make, Free free) {
    constexpr unsigned kProbes = 2000;
    std::vector<decltype(make())> handles;
    std::vector<unsigned> slots;
    for (unsigned i = 0; i < kProbes; ++i) {
        handles.push_back(make());
        slots.push_back(LOWORD(reinterpret_cast<ULONG_PTR>(handles.back())));
    }
    for (auto handle : handles) free(handle);
    std::sort(slots.begin(), slots.end());
    unsigned step = 0xFFFF;
    for (size_t i = 1; i < slots.size(); ++i)
        if (slots[i] > slots[i - 1]) step = std::min(step, slots[i] - slots[i - 1]);
    const unsigned top = slots.back() / step;
    return top > kProbes ? top - kProbes : 0;
}

}  // namespace

unsigned GuiObjects(DWORD which) {
    if (DWORD counted = ::GetGuiResources(::GetCurrentProcess(), which)) return counted;
    if (which == GR_GDIOBJECTS)
        return TableTop([] { return ::CreateSolidBrush(RGB(1, 2, 3)); }, [](HBRUSH b) { ::DeleteObject(b); });
    return TableTop([] { return ::CreatePopupMenu(); }, [](HMENU m) { ::DestroyMenu(m); });
}

std::string RatioText(double ours, double base, int decimals) {
    if (ours < 0 || base <= 0) return "-";
    char b[32];
    std::snprintf(b, sizeof(b), "%.*fx", decimals, ours / base);
    return b;
}

std::string NewDataFolder(const std::string& scratch, const std::string& name) {
    std::string folder = scratch + name;
    rz::DeleteFolderTree(folder);
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\";
}

std::string MakeScratchFolder(const std::string& prefix) {
    char base[MAX_PATH];
    ::GetTempPathA(MAX_PATH, base);
    for (unsigned n = 1;; ++n) {
        std::string candidate =
            std::string(base) + prefix + std::to_string(::GetCurrentProcessId()) + "_" + std::to_string(n);
        if (::CreateDirectoryA(candidate.c_str(), nullptr)) return candidate + "\\";
        if (::GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot create " + candidate);
    }
}

void WriteWholeFile(const std::string& path, const std::string& content) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!f || std::fwrite(content.data(), 1, content.size(), f.get()) != content.size())
        throw std::runtime_error("cannot write " + path);
}

std::string ReadWholeFile(const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
    std::string data;
    if (!f) return data;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof(buffer), f.get())) > 0) data.append(buffer, n);
    return data;
}

std::string BesideThisProgram(const char* name) {
    char exe[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    const std::string path = exe;
    return path.substr(0, path.find_last_of('\\') + 1) + name;
}

}  // namespace rzbench
