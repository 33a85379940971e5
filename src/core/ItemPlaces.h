#pragma once
// What a user does with an item besides starting it: its folder opened with
// it selected, its properties, its path or command line on the clipboard.
// Each takes the item's path as typed (variables expanded here) and tells
// the user itself when it cannot be done.

#include <windows.h>

#include <string>

#include "platform/Seam.h"

namespace rz {

// Opens a folder window of folder with the file or folder item selected
// (empty: none). 0, or the system's reason.
extern Seam<unsigned long(const std::string& folder, const std::string& item)> ShowInFolder;

// The folder that holds the item, and the name to select in it: for a
// shortcut, where its target is; for a directory, its parent (a drive root
// is its own folder).
struct ItemPlace {
    std::string folder;  // without trailing "\" except a drive root
    std::string item;    // full path, or empty
};
ItemPlace PlaceOf(const std::string& expandedPath);

// Opens the folder that holds the item with the item selected; a folder
// that is gone is said and nothing opens.
bool OpenContainingFolder(const std::string& typedPath);
// The shell's properties of the item's file.
bool ShowItemProperties(const std::string& typedPath);
// The path with the item's parameters, quoted where the shell needs it.
std::string CommandLineOf(const std::string& typedPath, const std::string& typedParameters);
// Puts text on the clipboard; a clipboard that another program keeps holding
// is said.
bool CopyItemText(HWND owner, const std::string& text);

}  // namespace rz
