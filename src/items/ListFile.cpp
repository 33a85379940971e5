#include "items/ListFile.h"

#include <windows.h>

#include "platform/FileIO.h"
#include "support/TextEncoding.h"
#include "support/UcvSysExceptions.h"

namespace rz {

std::vector<std::string> ReadListLines(const std::string& path) {
    std::string data;
    if (!ReadWholeFile(path, data)) RaiseInOutError("Cannot read", path);
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

void ListFileWriter::WriteLine(const std::string& line) {
    text_ += line;
    text_ += "\r\n";
}

void ListFileWriter::Close() {
    if (!WriteWholeFile(path_, FileBytesFromText(text_))) {
        if (::GetLastError() == ERROR_SUCCESS) ::SetLastError(ERROR_WRITE_FAULT);
        RaiseInOutError("Cannot write", path_);
    }
}

}  // namespace rz
