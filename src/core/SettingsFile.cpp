#include "core/SettingsFile.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string_view>

#include "platform/FileIO.h"
#include "platform/TextCodePage.h"
#include "support/TextEncoding.h"

namespace rz {

namespace {

// A line of the text: where it starts and ends (without its line end) and
// where the next one starts. CR LF, LF and CR end a line.
struct Line {
    size_t begin, end, next;
};
Line LineAt(const std::string& text, size_t at) {
    const size_t end = std::min(text.find_first_of("\r\n", at), text.size());
    size_t next = end < text.size() ? end + 1 : end;
    if (end < text.size() && text[end] == '\r' && next < text.size() && text[next] == '\n') ++next;
    return {at, end, next};
}

std::string_view Trimmed(std::string_view s) {
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// Without case, as the names of the file's sections and keys are ASCII.
bool SameName(std::string_view a, const std::string& b) {
    return a.size() == b.size() && ::_strnicmp(a.data(), b.c_str(), a.size()) == 0;
}

// What one line is: a section header, a key with its value, or neither.
struct ProfileLine {
    enum Kind { kOther, kSection, kKey } kind = kOther;
    std::string_view name, value;
};

ProfileLine Parse(const std::string& text, const Line& at) {
    const std::string_view line = Trimmed(std::string_view(text).substr(at.begin, at.end - at.begin));
    const size_t close = line.rfind(']');
    if (!line.empty() && line[0] == '[' && close != std::string_view::npos)
        return {ProfileLine::kSection, Trimmed(line.substr(1, close - 1)), {}};
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) return {};
    return {ProfileLine::kKey, Trimmed(line.substr(0, equals)), Trimmed(line.substr(equals + 1))};
}

// One pair of enclosing quotes goes.
std::string_view Unquoted(std::string_view value) {
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        return value.substr(1, value.size() - 2);
    return value;
}

}  // namespace

std::optional<std::string> ProfileValue(const std::string& text, const std::string& section, const std::string& key) {
    bool inSection = false;
    for (Line line{0, 0, 0}; line.next < text.size();) {
        line = LineAt(text, line.next);
        const ProfileLine parsed = Parse(text, line);
        if (parsed.kind == ProfileLine::kSection) inSection = SameName(parsed.name, section);
        else if (inSection && parsed.kind == ProfileLine::kKey && SameName(parsed.name, key)) {
            return std::string(Unquoted(parsed.value));
        }
    }
    return std::nullopt;
}

std::string WithProfileValue(const std::string& text, const std::string& section, const std::string& key,
                             const std::string& value) {
    const std::string entry = key + "=" + value;
    bool inSection = false, inFirst = false;
    std::optional<Line> sectionEnd;  // the header or last key of the first section found
    for (Line line{0, 0, 0}; line.next < text.size();) {
        line = LineAt(text, line.next);
        const ProfileLine parsed = Parse(text, line);
        if (parsed.kind == ProfileLine::kSection) {
            inSection = SameName(parsed.name, section);
            inFirst = inSection && !sectionEnd;
            if (inFirst) sectionEnd = line;
        } else if (inSection && parsed.kind == ProfileLine::kKey && SameName(parsed.name, key)) {
            // A line that already says it stays as it is written.
            if (Unquoted(parsed.value) == value) return text;
            return std::string(text).replace(line.begin, line.end - line.begin, entry);
        } else if (inFirst && parsed.kind != ProfileLine::kOther) {
            sectionEnd = line;
        }
    }
    std::string added = entry + "\r\n";
    size_t at = text.size();
    bool ended = text.empty() || text.back() == '\n' || text.back() == '\r';
    if (sectionEnd) {
        at = sectionEnd->next;
        ended = sectionEnd->next > sectionEnd->end;
    } else {
        added.insert(0, "[" + section + "]\r\n");
    }
    if (!ended) added.insert(0, "\r\n");
    return std::string(text).insert(at, added);
}

std::string ReadProfileText(const std::string& path) {
    std::string bytes;
    return ReadWholeFile(path, bytes) ? TextFromFileBytes(std::move(bytes)) : std::string();
}

namespace {
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// A value in the file's own encoding: a file in the legacy code page takes
// it in that code page, so that the file stays one encoding throughout.
// False when the code page cannot hold it.
bool ValueForFile(const std::string& value, bool legacy, std::string& bytes) {
    if (!legacy || IsAscii(value)) {
        bytes = value;
        return true;
    }
    const std::wstring wide = ToUtf16(value);
    const unsigned codePage = LegacyAnsiCodePage();
    bytes = FromUtf16(wide, codePage);
    // What comes back otherwise was a stand-in character.
    return ToUtf16(bytes, codePage) == wide;
    return true;
}

// Only the lines of the values that change are written anew; every other
// byte of the file stays as it was, in whatever encoding it is.
bool EditInPlace(std::string bytes, const std::vector<ProfileEntry>& entries, std::string& next) {
    const bool marked = bytes.starts_with(kUtf8Mark);
    std::string body = marked ? bytes.substr(kUtf8Mark.size()) : std::move(bytes);
    // Where the program's strings are not UTF-8, they are in the file's code page already.
    const bool legacy = ::GetACP() == CP_UTF8 && !marked && !IsAscii(body) && !IsValidUtf8(body);
    for (const ProfileEntry& entry : entries) {
        std::string value;
        if (!ValueForFile(entry.value, legacy, value)) return false;
        body = WithProfileValue(body, entry.section, entry.key, value);
    }
    next = marked ? std::string(kUtf8Mark) + body : std::move(body);
    return true;
}
}  // namespace

bool WriteProfileValues(const std::string& path, const std::vector<ProfileEntry>& entries) {
    std::string bytes;
    const bool there = ReadWholeFile(path, bytes);
    if (!there && ::GetLastError() != ERROR_FILE_NOT_FOUND && ::GetLastError() != ERROR_PATH_NOT_FOUND) return false;
    std::string next;
    if (!EditInPlace(bytes, entries, next)) {
        // A value the file's code page cannot hold: the whole file becomes UTF-8.
        std::string text = there ? TextFromFileBytes(bytes) : std::string();
        for (const ProfileEntry& entry : entries) text = WithProfileValue(text, entry.section, entry.key, entry.value);
        next = FileBytesFromText(std::move(text));
    }
    return (there && next == bytes) || ReplaceWholeFile(path, next);
}

}  // namespace rz
