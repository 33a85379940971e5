#pragma once
// The exceptions that carry a system error code, and the routines that
// raise them from GetLastError.

#include <stdexcept>
#include <string>

namespace rz {

// Raised for failed file and folder operations; the message names the path
// and the system error.
class EInOutError : public std::runtime_error {
public:
    EInOutError(const std::string& message, unsigned long code) : std::runtime_error(message), Code(code) {}
    unsigned long Code;
};

// Raised with the system's last error, e.g. when a kernel object or a window
// cannot be made.
class EOSError : public std::runtime_error {
public:
    EOSError(const std::string& message, unsigned long code) : std::runtime_error(message), Code(code) {}
    unsigned long Code;
};

// The system's text for an error code: one line, without its full stop.
std::string SystemMessage(unsigned long code);
// "System Error.  Code: N.\r\nText" built from GetLastError/FormatMessageA.
std::string SystemErrorText(unsigned long code);
[[noreturn]] void RaiseLastOSError();
[[noreturn]] void RaiseInOutError(const std::string& what, const std::string& path);

}  // namespace rz
