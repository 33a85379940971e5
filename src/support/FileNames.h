#pragma once
// What the file system makes of a name inside a folder: the name it stores,
// when two names are one, and which names give a file or folder of their own.
// Every rule about folder and file names of the store goes through here.

#include <string>

namespace rz {

// The name as the file system stores it: trailing dots and blanks dropped.
std::string StoredFileName(const std::string& name);
// Equal for two names exactly when the file system takes them for the same
// entry of a folder: stored form, letters compared without case as the system
// compares them (in any script).
std::string FileNameKey(const std::string& name);
bool SameFileName(const std::string& a, const std::string& b);

// None of \ / : * ? " < > | and no control characters.
bool HasOnlyNameCharacters(const std::string& name);
// CON, PRN, AUX, NUL, COM0-9 and LPT0-9 (also with a superscript digit), with
// or without an extension or trailing blanks: these open a device, not a file.
bool IsDeviceName(const std::string& name);
// A name that gives an entry of its own inside a folder: name characters
// only, no device, and neither empty nor "." nor ".." once stored. Its length
// is left to the file system, which knows the whole path.
bool IsPlainFileName(const std::string& name);

}  // namespace rz
