#pragma once
// How the list files and the settings file hold text on disk. The program's
// strings are UTF-8; files written by older versions are in the system's
// legacy ANSI code page and are converted when read.

#include <string>
#include <string_view>

namespace rz {

bool IsAscii(std::string_view text);
bool IsValidUtf8(std::string_view text);

// Bytes of a file -> UTF-8: after a UTF-8 byte-order mark, the rest as it is;
// valid UTF-8 as it is; anything else is text in legacyCodePage.
std::string Utf8FromFileBytes(std::string bytes, unsigned legacyCodePage);
// UTF-8 -> bytes of a file: all ASCII as it is, else a byte-order mark in front.
std::string FileBytesFromUtf8(std::string text);

// The code page files were written in before the program ran with UTF-8,
// asked of the system locale (GetACP no longer names it).
unsigned LegacyAnsiCodePage();

// What the program reads and writes. Where the system ignored the request
// for the UTF-8 code page, the strings stay in the ANSI code page and the
// files as they always were.
std::string TextFromFileBytes(std::string bytes);
std::string FileBytesFromText(std::string text);

}  // namespace rz
