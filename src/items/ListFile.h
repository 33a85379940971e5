#pragma once
// The line grammar of shortcuts.txt and the file access around it.

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Seam.h"

namespace rz {

// All lines of a list file; CR LF, LF and CR all end a line. Text in the
// legacy ANSI code page is converted (TextFromFileBytes). Raises EInOutError
// when the file cannot be opened or read.
std::vector<std::string> ReadListLines(const std::string& path);

// Splits "token|rest"; nullopt for a line without "|".
struct ListLine {
    std::string token;
    std::string rest;
};
std::optional<ListLine> SplitListLine(const std::string& line);
// Takes the text up to the next "|" and consumes it with the "|"; with no
// "|" left the field is empty and nothing is consumed.
std::string TakeField(std::string& rest);

// Writes one line and its CR LF to the file opened for path; false when the
// system refused.
extern Seam<bool(std::FILE* file, const std::string& path, const std::string& line)> WriteListLine;

// A list file being written; every failure raises EInOutError.
class ListFileWriter {
public:
    explicit ListFileWriter(const std::string& path);
    ~ListFileWriter();
    ListFileWriter(const ListFileWriter&) = delete;
    ListFileWriter& operator=(const ListFileWriter&) = delete;

    void WriteLine(const std::string& line);
    void Close();

private:
    std::string path_;
    std::FILE* file_ = nullptr;
    bool nonAscii_ = false;
};

}  // namespace rz
