#pragma once
// The parameter exceptions of the shared routines; the system-error
// exceptions come from the platform layer.

#include <stdexcept>
#include <string>

#include "platform/SystemError.h"

namespace rz {

class EcvParamWrong : public std::runtime_error {
public:
    explicit EcvParamWrong(const std::string& message = {}) : std::runtime_error(message) {}
};

class EcvParamOutOfValidRangeError : public EcvParamWrong {
public:
    explicit EcvParamOutOfValidRangeError(const std::string& message = {}) : EcvParamWrong(message) {}
};

}  // namespace rz
