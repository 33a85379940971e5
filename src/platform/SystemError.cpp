#include "platform/SystemError.h"

#include <windows.h>

namespace rz {

std::string SystemMessage(unsigned long code) {
    char buffer[1024];
    DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buffer,
                               sizeof(buffer), nullptr);
    std::string text(buffer, n);
    // The system's texts end in a full stop and a line break: the log line
    // adds its own full stop, and a line break would split it.
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ' || text.back() == '.'))
        text.pop_back();
    return text;
}

std::string SystemErrorText(unsigned long code) {
    return "System Error.  Code: " + std::to_string(code) + ".\r\n" + SystemMessage(code);
}

void RaiseLastOSError() {
    unsigned long code = ::GetLastError();
    if (code == 0) throw EOSError("A call to an OS function failed", 0);
    throw EOSError(SystemErrorText(code), code);
}

void RaiseInOutError(const std::string& what, const std::string& path) {
    unsigned long code = ::GetLastError();
    throw EInOutError(what + " \"" + path + "\": I/O error " + std::to_string(code) + ": " + SystemMessage(code), code);
}

}  // namespace rz
