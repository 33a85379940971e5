#pragma once
// The line grammar of shortcuts.txt and the file access around it.

#include <optional>
#include <string>
#include <vector>

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

// A list file being written: the lines are collected and the file written
// whole at Close, every byte checked; every failure raises EInOutError. A
// writer never closed leaves no file behind it.
class ListFileWriter {
public:
    explicit ListFileWriter(const std::string& path) : path_(path) {}
    ListFileWriter(const ListFileWriter&) = delete;
    ListFileWriter& operator=(const ListFileWriter&) = delete;

    void WriteLine(const std::string& line);
    void Close();

private:
    std::string path_;
    std::string text_;
};

}  // namespace rz
