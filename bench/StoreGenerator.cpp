#include "StoreGenerator.h"

#include <windows.h>

#include <map>
#include <random>
#include <stdexcept>

#include "BenchSupport.h"
#include "platform/Bitmap.h"

namespace rzbench {

namespace {

const char* const kDocExtensions[] = {"doc", "docx", "xls", "xlsx", "pdf", "txt", "rtf", "odt", "ppt", "csv",
                                      "xml", "html", "jpg", "png",  "gif", "mp3", "avi", "zip", "lnk", "url"};

struct GenFolder {
    int parent = -1;
    int depth = 0;
    std::string caption;
    std::string rel;
    std::vector<std::string> lines;
    std::map<std::string, int> pictureNames;  // name -> how often used on this level
    int executables = 0;
};

class Generator {
public:
    Generator(const StoreShape& shape, const std::string& dataFolder)
        : shape_(shape), rng_(shape.seed), picture_(16, 16) {
        out_.dataFolder = dataFolder;
        // Drawn like the writer's pictures: opaque icon pixels, alpha 0 around them.
        for (int y = 2; y < 14; ++y)
            for (int x = 2; x < 14; ++x) picture_.SetPixel(x, y, 0xFF3366CCu + x * 0x100 + y);
    }

    GeneratedStore Run();

private:
    double Roll() { return std::uniform_real_distribution<double>(0, 1)(rng_); }
    // A word of a caption or file name, in other scripts too when asked.
    std::string Word(const char* ascii) const {
        return shape_.otherScripts ? ascii + std::string(reinterpret_cast<const char*>(u8"Привет 日本語 😀 Café "))
                                   : ascii;
    }
    int Pick(int below) { return std::uniform_int_distribution<int>(0, below - 1)(rng_); }
    void MakeFolders(int count);
    std::string ItemLine(GenFolder& level, int i);
    std::string ExeLine(GenFolder& level, int i);
    void WriteLevels();

    StoreShape shape_;
    std::mt19937 rng_;
    rz::TBitmap picture_;
    std::vector<GenFolder> folders_;
    GeneratedStore out_;
};

void Generator::MakeFolders(int count) {
    folders_.resize(1);
    for (int f = 1; f <= count; ++f) {
        int p = Pick(f);
        while (folders_[p].depth >= shape_.maxDepth) p = folders_[p].parent;
        GenFolder g;
        g.parent = p;
        g.depth = folders_[p].depth + 1;
        g.caption = Word("Group ") + std::to_string(f);
        g.rel = folders_[p].rel + g.caption + "\\";
        folders_.push_back(std::move(g));
    }
}

std::string Generator::ExeLine(GenFolder& level, int i) {
    std::string name = Roll() < shape_.setupShare ? "setup" : Word("tool") + std::to_string(i);
    std::string path = "C:\\Program Files\\" + Word("Vendor ") + std::to_string(i % 300) + "\\" + name + ".exe";
    // The writer's naming: name.bmp, then name1.bmp, name2.bmp, ... on one level.
    int used = level.pictureNames[name]++;
    std::string icon = name + (used ? std::to_string(used) : "") + ".bmp";
    ++level.executables;
    ++out_.executables;
    if (Roll() < shape_.pictureShare) {
        std::string file = out_.dataFolder + "shortcuts\\" + level.rel + icon;
        if (!picture_.SaveToFile(file)) throw std::runtime_error("cannot write " + file);
        ++out_.pictures;
    }
    return "^ExeLnk|" + path + "||" + icon + "|" + Word("Tool ") + std::to_string(i);
}

std::string Generator::ItemLine(GenFolder& level, int i) {
    std::string n = std::to_string(i);
    double r = Roll();
    if ((r -= shape_.separatorShare) < 0) return Pick(2) ? "^NorSep|" : "^SpeSep|" + Word("Section ") + n;
    ++out_.links;
    if ((r -= shape_.exeShare) < 0) return ExeLine(level, i);
    if ((r -= shape_.scriptShare) < 0) {
        const char* ext = Pick(2) ? "bat" : "cmd";
        ++out_.scripts;
        return "^ExeLnk|C:\\Scripts\\" + Word("job_") + n + "." + ext + "|-v --job " + n + " /q|" + ext + "|" +
               Word("Job ") + n;
    }
    if ((r -= shape_.directoryShare) < 0) {
        std::string dir = Pick(10) ? "C:\\Data\\" + Word("Archive ") + n + "\\" : "C:\\windows\\";
        return "^UnkLnk|" + dir + "||" + Word("Archive ") + n;
    }
    const char* ext = kDocExtensions[Pick(static_cast<int>(std::size(kDocExtensions)))];
    return "^UnkLnk|C:\\Users\\bench\\Documents\\" + Word("Project ") + std::to_string(i % 200) + "\\" + Word("file_") +
           n + "." + ext + "|" + ext + "|" + Word("File ") + n;
}

void Generator::WriteLevels() {
    std::string store = out_.dataFolder + "shortcuts\\";
    for (const GenFolder& g : folders_) {
        StoreLevel level;
        level.rel = g.rel;
        level.executables = g.executables;
        for (const std::string& line : g.lines) level.content += line + "\r\n";
        if (!g.lines.empty()) WriteWholeFile(store + g.rel + "shortcuts.txt", level.content);
        out_.levels.push_back(std::move(level));
    }
}

GeneratedStore Generator::Run() {
    int folderCount = shape_.folders >= 0         ? shape_.folders
                      : shape_.itemsPerFolder > 0 ? shape_.items / shape_.itemsPerFolder
                                                  : 0;
    MakeFolders(folderCount);
    std::string store = out_.dataFolder + "shortcuts\\";
    for (const GenFolder& g : folders_) {
        std::string dir = store + g.rel;
        if (!::CreateDirectoryA(dir.c_str(), nullptr)) throw std::runtime_error("cannot create " + dir);
    }
    int itemCount = shape_.items - folderCount;
    for (int i = 0; i < itemCount; ++i) {
        GenFolder& level = folders_[Pick(static_cast<int>(folders_.size()))];
        level.lines.push_back(ItemLine(level, i));
    }
    for (size_t f = 1; f < folders_.size(); ++f) {
        auto& lines = folders_[folders_[f].parent].lines;
        lines.insert(lines.begin() + Pick(static_cast<int>(lines.size()) + 1), "^Folder|" + folders_[f].caption);
    }
    WriteLevels();
    out_.lines = shape_.items;
    out_.folders = folderCount;
    return out_;
}

}  // namespace

GeneratedStore GenerateStore(const StoreShape& shape, const std::string& dataFolder) {
    return Generator(shape, dataFolder).Run();
}

}  // namespace rzbench
