#include "support/ProcessHardening.h"

#include <windows.h>

namespace rz {

namespace {

// Newer than the system the program is built for: looked up at run time.
template <class F>
F KernelFunction(const char* name) {
    HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    return kernel ? reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(kernel, name))) : nullptr;
}

constexpr DWORD kSearchSystem32 = 0x00000800;                    // LOAD_LIBRARY_SEARCH_SYSTEM32
constexpr DWORD kSafeSearchPermanent = 0x00000001 | 0x00008000;  // BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE | _PERMANENT
constexpr DWORD kDepEnable = 0x00000001;                         // PROCESS_DEP_ENABLE

}  // namespace

void HardenProcess() {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    using SetDllDirectoryFn = BOOL(WINAPI*)(LPCSTR);
    using SetSearchPathModeFn = BOOL(WINAPI*)(DWORD);
    using SetProcessDEPPolicyFn = BOOL(WINAPI*)(DWORD);

    auto setDefault = KernelFunction<SetDefaultDllDirectoriesFn>("SetDefaultDllDirectories");
    if (!setDefault || !setDefault(kSearchSystem32)) {
        // Without it, at least the current folder leaves the search.
        if (auto setDirectory = KernelFunction<SetDllDirectoryFn>("SetDllDirectoryA")) setDirectory("");
    }
    if (auto setMode = KernelFunction<SetSearchPathModeFn>("SetSearchPathMode")) setMode(kSafeSearchPermanent);
    // The image asks for DEP already; this keeps it on where the system lets a
    // 32-bit process opt out.
    if (auto setDep = KernelFunction<SetProcessDEPPolicyFn>("SetProcessDEPPolicy")) setDep(kDepEnable);
}

}  // namespace rz
