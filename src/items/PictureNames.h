#pragma once
// Names of the icon pictures written beside one list file: the program's file
// name without its last extension, then numbered from 1 while the name is
// taken. Each name remembers how far its numbers went, so that a level of
// many programs with one name is named in linear time.

#include <string>
#include <unordered_map>
#include <unordered_set>

namespace rz {

// The picture name's base for a program path: its file name (after the last
// "\", "/" or ":") without the last extension, made a plain file name, so
// that the picture always lands in its own level's folder.
std::string PictureBaseName(const std::string& programPath);

class PictureNames {
public:
    // The level's folder, without trailing "\".
    explicit PictureNames(std::string folder) : folder_(std::move(folder)) {}

    // The first free name of base, base1, base2 ... with ".bmp"; the caller
    // writes that file before asking again.
    std::string Next(const std::string& programPath);
    // A sub-folder of the level that may not exist yet: no picture takes its name.
    void Reserve(const std::string& folderName);

private:
    std::string folder_;
    std::unordered_map<std::string, int> nextNumber_;  // by file-system key of the unnumbered name
    std::unordered_set<std::string> reserved_;         // file-system keys
};

}  // namespace rz
