#include "MenuStores.h"

#include <windows.h>

#include <sstream>
#include <stdexcept>

#include "BenchSupport.h"

namespace rzbench {

namespace {

constexpr int kBigFolder = 500;
constexpr int kOtherFolders = 9;
constexpr int kDocuments = 30;
constexpr int kSubFolders = 10;

const char* const kExtensions[] = {"txt", "doc", "pdf", "xls", "html", "jpg", "zip", "csv"};

std::string Document(int n) {
    const char* ext = kExtensions[n % std::size(kExtensions)];
    return "^UnkLnk|C:\\Users\\bench\\Documents\\file_" + std::to_string(n) + "." + ext + "|" + ext + "|File " +
           std::to_string(n);
}

void MakeFolder(const std::string& path) {
    if (!::CreateDirectoryA(path.c_str(), nullptr)) throw std::runtime_error("cannot create " + path);
}

// A folder of count documents, numbered from next.
int WriteDocuments(const std::string& folder, int count, int& next) {
    std::string list;
    for (int i = 0; i < count; ++i) list += Document(next++) + "\r\n";
    WriteWholeFile(folder + "shortcuts.txt", list);
    return count;
}

int WriteOtherFolder(const std::string& folder, int perFolder, int& next) {
    MakeFolder(folder);
    if (perFolder <= 50) return WriteDocuments(folder, perFolder, next);
    std::string list;
    int lines = 0;
    for (int s = 0; s < kSubFolders; ++s) {
        const std::string name = "Part " + std::to_string(s + 1);
        list += "^Folder|" + name + "\r\n";
        MakeFolder(folder + name);
        lines += 1 + WriteDocuments(folder + name + "\\", perFolder / kSubFolders, next);
    }
    WriteWholeFile(folder + "shortcuts.txt", list);
    return lines;
}

}  // namespace

MenuStore GenerateMenuStore(const std::string& dataFolder, int perFolder) {
    MenuStore out;
    out.dataFolder = dataFolder;
    const std::string store = dataFolder + "shortcuts\\";
    MakeFolder(store);
    int next = 0;
    std::string top;
    auto addTop = [&](const std::string& line, const std::string& caption, bool folder) {
        top += line + "\r\n";
        out.shape.top.push_back(caption);
        out.shape.topFolder.push_back(folder);
        ++out.lines;
    };
    addTop("^Folder|Big", "Big", true);
    MakeFolder(store + "Big");
    for (int i = 0; i < kBigFolder; ++i) out.shape.big.push_back("File " + std::to_string(next + i));
    out.lines += WriteDocuments(store + "Big\\", kBigFolder, next);
    for (int f = 0; f < kOtherFolders; ++f) {
        const std::string name = "Folder " + std::to_string(f + 1);
        addTop("^Folder|" + name, name, true);
        out.lines += WriteOtherFolder(store + name + "\\", perFolder, next);
    }
    for (int d = 0; d < kDocuments; ++d) {
        const int n = next++;
        addTop(Document(n), "File " + std::to_string(n), false);
    }
    WriteWholeFile(store + "shortcuts.txt", top);
    return out;
}

void WriteMenuShape(const MenuShape& shape, const std::string& file) {
    std::string text;
    for (size_t i = 0; i < shape.top.size(); ++i) text += (shape.topFolder[i] ? "F " : "L ") + shape.top[i] + "\n";
    text += "--\n";
    for (const std::string& caption : shape.big) text += caption + "\n";
    WriteWholeFile(file, text);
}

MenuShape ReadMenuShape(const std::string& file) {
    MenuShape shape;
    std::istringstream in(ReadWholeFile(file));
    std::string line;
    bool inBig = false;
    while (std::getline(in, line)) {
        if (line == "--") {
            inBig = true;
        } else if (inBig) {
            shape.big.push_back(line);
        } else if (line.size() > 2) {
            shape.topFolder.push_back(line[0] == 'F');
            shape.top.push_back(line.substr(2));
        }
    }
    return shape;
}

}  // namespace rzbench
