#pragma once
// The profile text of the settings file: "[section]" lines and "key=value"
// lines, sections and keys matched without case, values trimmed of blanks
// and of one pair of enclosing quotes. The file's bytes follow the rule of
// the program's text files (TextFromFileBytes).

#include <optional>
#include <string>
#include <vector>

namespace rz {

// The value of the first key of that name in a section of that name.
std::optional<std::string> ProfileValue(const std::string& text, const std::string& section, const std::string& key);
// The text with that value set: in place of the key found, else at the end of
// the section found, else in a new section at the end. Lines added end in CR LF.
std::string WithProfileValue(const std::string& text, const std::string& section, const std::string& key,
                             const std::string& value);

// The file's text; "" when it cannot be read (every key is then missing).
std::string ReadProfileText(const std::string& path);

// One value for WithProfileValues.
struct ProfileEntry {
    const char* section;
    const char* key;
    std::string value;
};

// Writes the values into the file's current text, every other line kept
// as it is, and replaces the file whole only when that changes it: a kill
// or a full disk at any moment leaves the old file. False with the
// system's reason in GetLastError, also when a file that is there cannot
// be read (a write would lose its other lines).
bool WriteProfileValues(const std::string& path, const std::vector<ProfileEntry>& entries);

}  // namespace rz
