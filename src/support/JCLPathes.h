#pragma once
// Short (8.3) and long forms of a path.

#include <string>

namespace rz {

// The 8.3 form, keeping a trailing backslash; empty when there is none.
std::string ShortPathOf(const std::string& path);
// The long form as the shell parses it, or path unchanged.
std::string LongPathOf(const std::string& path);

}  // namespace rz
