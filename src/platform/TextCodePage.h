#pragma once
// The one place that knows the code page of the program's strings: the
// active code page, which is UTF-8 where the manifest's request holds and
// the system's ANSI code page where a system ignores it. Every conversion
// of the program's own text to and from UTF-16 goes through ToUtf16 and
// FromUtf16; the two with a code page serve text read from or written to
// files in a code page of their own.

#include <string>
#include <string_view>

namespace rz {

std::wstring ToUtf16(std::string_view text);
std::string FromUtf16(std::wstring_view text);

// What the target cannot hold becomes its default character.
std::wstring ToUtf16(std::string_view text, unsigned codePage);
std::string FromUtf16(std::wstring_view text, unsigned codePage);

}  // namespace rz
