#pragma once
// Whole-file reads and writes that check every byte, for paths of any
// length: a store level may lie deeper than the classic path limit.

#include <string>

#include "platform/Seam.h"

namespace rz {

// The wide form of a path for the file calls; past the classic limit an
// absolute path takes the "\\?\" form, which lifts it.
std::wstring WidePath(const std::string& path);
// The "\\?\" form of an absolute path at any length: the system then takes
// every name as it is, so names its path rules would change or refuse
// ("a.", "aux", "COM1.", "nul.bmp") are reached too. A relative path or
// one already in that form stays as it is.
std::wstring ExactWidePath(const std::string& path);
// A name found by a wide call, back in the program's own strings.
std::string NarrowName(const wchar_t* name);

// The whole content of a file; false with the system's reason in
// GetLastError when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// Creates or truncates the file and writes the bytes. True only when every
// byte was written and the closed file has exactly their size; false with
// the system's reason in GetLastError otherwise (a partial file may stay).
extern Seam<bool(const std::string& path, const std::string& bytes)> WriteWholeFile;

// Writes the bytes to a temporary file beside the path and renames it over
// the path, so a kill or a full disk at any moment leaves either the old file
// whole or the new one. False with the system's reason in GetLastError; the
// old file is then untouched and no temporary file stays.
bool ReplaceWholeFile(const std::string& path, const std::string& bytes);

// Appends the bytes at the end of the file, creating it when missing. True
// only when every byte was written; false with the system's reason in
// GetLastError (a part of the bytes may then stand at the end).
extern Seam<bool(const std::string& path, const std::string& bytes)> AppendToFile;

// The size of a file; false with the system's reason when it has none.
bool FileSizeOf(const std::string& path, unsigned long long& size);

bool CreateFolder(const std::string& path);

// Whether the system refuses new files in the folder (with its trailing
// "\\") as it does on read-only media: tried with a file that vanishes at once.
bool FolderRefusesNewFiles(const std::string& folder);

// The running program's full path, however long (a folder named in a
// script of many bytes a character passes MAX_PATH bytes early).
std::string ProgramPath();

}  // namespace rz
