#include "items/ListFile.h"

#include <windows.h>

#include "support/TextEncoding.h"
#include "support/UcvSysExceptions.h"

namespace rz {

namespace {
bool WriteLineToFile(std::FILE* file, const std::string&, const std::string& line) {
    return std::fwrite(line.data(), 1, line.size(), file) == line.size() && std::fwrite("\r\n", 1, 2, file) == 2;
}

// Lines go out as they come, so whether the file needs its byte-order mark is
// known only at the end: the written bytes are read back and stored again.
bool StoreAsText(std::FILE* file) {
    if (std::fflush(file) != 0 || std::fseek(file, 0, SEEK_END) != 0) return false;
    const long size = std::ftell(file);
    if (size < 0 || std::fseek(file, 0, SEEK_SET) != 0) return false;
    std::string text(static_cast<size_t>(size), '\0');
    if (std::fread(text.data(), 1, text.size(), file) != text.size()) return false;
    const std::string bytes = FileBytesFromText(text);
    if (bytes == text) return true;
    return std::fseek(file, 0, SEEK_SET) == 0 && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}
}  // namespace

Seam<bool(std::FILE*, const std::string&, const std::string&)> WriteListLine{&WriteLineToFile};

std::vector<std::string> ReadListLines(const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!f) RaiseInOutError("Cannot open", path);
    std::string data;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof(buffer), f.get())) > 0) data.append(buffer, n);
    if (std::ferror(f.get())) RaiseInOutError("Cannot read", path);
    data = TextFromFileBytes(std::move(data));

    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < data.size(); ++i) {
        if (data[i] != '\r' && data[i] != '\n') continue;
        lines.emplace_back(data, start, i - start);
        if (data[i] == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < data.size()) lines.emplace_back(data, start, std::string::npos);
    return lines;
}

std::optional<ListLine> SplitListLine(const std::string& line) {
    size_t bar = line.find('|');
    if (bar == std::string::npos) return std::nullopt;
    return ListLine{line.substr(0, bar), line.substr(bar + 1)};
}

std::string TakeField(std::string& rest) {
    size_t bar = rest.find('|');
    if (bar == std::string::npos) return {};
    std::string field = rest.substr(0, bar);
    rest.erase(0, bar + 1);
    return field;
}

ListFileWriter::ListFileWriter(const std::string& path) : path_(path) {
    file_ = std::fopen(path.c_str(), "w+b");
    if (!file_) RaiseInOutError("Cannot create", path);
}

ListFileWriter::~ListFileWriter() {
    if (file_) std::fclose(file_);
}

void ListFileWriter::WriteLine(const std::string& line) {
    nonAscii_ = nonAscii_ || !IsAscii(line);
    if (!WriteListLine(file_, path_, line)) {
        // The C runtime leaves no system code of its own.
        if (::GetLastError() == ERROR_SUCCESS) ::SetLastError(ERROR_WRITE_FAULT);
        RaiseInOutError("Cannot write", path_);
    }
}

void ListFileWriter::Close() {
    if (!file_) return;
    const bool stored = !nonAscii_ || StoreAsText(file_);
    int rc = std::fclose(file_);
    file_ = nullptr;
    if (!stored || rc != 0) RaiseInOutError("Cannot write", path_);
}

}  // namespace rz
