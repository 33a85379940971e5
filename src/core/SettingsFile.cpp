#include "core/SettingsFile.h"

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string_view>
#include <vector>

#include "support/TextEncoding.h"
#include "support/UcvSysExceptions.h"
#include "support/UcvSysStr.h"

namespace rz {

namespace {

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.emplace_back(text, start, i - start);
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text, start, std::string::npos);
    return lines;
}

std::string_view Trimmed(std::string_view s) {
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool SameName(std::string_view a, const std::string& b) { return UpperCase(std::string(a)) == UpperCase(b); }

// What one line is: a section header, a key with its value, or neither.
struct ProfileLine {
    enum Kind { kOther, kSection, kKey } kind = kOther;
    std::string_view name, value;
};

ProfileLine Parse(std::string_view line) {
    line = Trimmed(line);
    const size_t close = line.rfind(']');
    if (!line.empty() && line[0] == '[' && close != std::string_view::npos)
        return {ProfileLine::kSection, Trimmed(line.substr(1, close - 1)), {}};
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) return {};
    return {ProfileLine::kKey, Trimmed(line.substr(0, equals)), Trimmed(line.substr(equals + 1))};
}

std::string Unquoted(std::string_view value) {
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

}  // namespace

std::optional<std::string> ProfileValue(const std::string& text, const std::string& section, const std::string& key) {
    bool inSection = false;
    for (const std::string& line : SplitLines(text)) {
        const ProfileLine parsed = Parse(line);
        if (parsed.kind == ProfileLine::kSection) inSection = SameName(parsed.name, section);
        else if (inSection && parsed.kind == ProfileLine::kKey && SameName(parsed.name, key))
            return Unquoted(parsed.value);
    }
    return std::nullopt;
}

std::string WithProfileValue(const std::string& text, const std::string& section, const std::string& key,
                             const std::string& value) {
    std::vector<std::string> lines = SplitLines(text);
    const std::string entry = key + "=" + value;
    bool inSection = false, inFirst = false;
    size_t sectionEnd = std::string::npos;  // last line that is not blank in the first section found
    for (size_t i = 0; i < lines.size(); ++i) {
        const ProfileLine parsed = Parse(lines[i]);
        if (parsed.kind == ProfileLine::kSection) {
            inSection = SameName(parsed.name, section);
            inFirst = inSection && sectionEnd == std::string::npos;
            if (inFirst) sectionEnd = i;
        } else if (inSection && parsed.kind == ProfileLine::kKey && SameName(parsed.name, key)) {
            lines[i] = entry;
            return Joined(lines);
        } else if (inFirst && !Trimmed(lines[i]).empty()) {
            sectionEnd = i;
        }
    }
    if (sectionEnd != std::string::npos) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(sectionEnd) + 1, entry);
    } else {
        lines.push_back("[" + section + "]");
        lines.push_back(entry);
    }
    return Joined(lines);
}

std::string ReadProfileText(const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!f) return {};
    std::string bytes;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof(buffer), f.get())) > 0) bytes.append(buffer, n);
    return std::ferror(f.get()) ? std::string() : TextFromFileBytes(std::move(bytes));
}

void WriteProfileText(const std::string& path, const std::string& text) {
    const std::string bytes = FileBytesFromText(text);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!f) RaiseInOutError("Cannot write", path);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
    if (std::fclose(f.release()) != 0 || !written) {
        if (::GetLastError() == ERROR_SUCCESS) ::SetLastError(ERROR_WRITE_FAULT);
        RaiseInOutError("Cannot write", path);
    }
}

}  // namespace rz
