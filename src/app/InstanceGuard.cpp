#include "app/InstanceGuard.h"

#include <cstdint>

#include "support/UcvSysExceptions.h"

namespace rz {

bool InstanceGuard::Acquire(HWND appWindow, const char* name) {
    unique_handle_kernel mapping(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4, name));
    DWORD error = ::GetLastError();
    if (mapping && error == ERROR_ALREADY_EXISTS) return false;
    if (!mapping) RaiseLastOSError();
    unique_view view(::MapViewOfFile(mapping.get(), FILE_MAP_ALL_ACCESS, 0, 0, 4));
    if (!view) RaiseLastOSError();
    *static_cast<uint32_t*>(view.get()) = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(appWindow));
    mapping_ = std::move(mapping);
    view_ = std::move(view);
    return true;
}

void InstanceGuard::Release() {
    view_.reset();
    mapping_.reset();
}

}  // namespace rz
