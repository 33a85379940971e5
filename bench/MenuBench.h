#pragma once
// Child side of the menu case and of the footprint: the program's own
// start-up on a store, then the launcher menu opened through the hotkey
// handler, beside a bare TrackPopupMenu of the same entries in the same
// process.

#include <windows.h>

#include <string>

#include "BenchChild.h"

namespace rzbench {

// Medians over opens openings each, in ms: topBare, topOurs, topOwn,
// topOwnDark (menu shown) and subBare, subOurs, subOwn, subOwnDark (the
// first folder shown); ours with the platform's drawing, own with the
// program's in the light and in the dark palette. topBareOurs ... are the
// bare menu's medians over the openings taken in turn with each of ours.
RunFigures MenuRun(const std::string& dataFolder, const std::string& shapeFile, int opens);

// privEmpty, privLoaded (MB); gdiLoaded, userLoaded, gdiFirst, userFirst,
// gdiOpened, userOpened (objects after the load, after the first openings in
// both drawing modes and after all opens openings); timers (running while
// idle).
RunFigures FootprintRun(const std::string& emptyFolder, const std::string& loadedFolder, int opens);

// The program's own start-up on dataFolder (platform drawing, side bars), as
// the menu case starts it; the hidden main form.
HWND StartProgram(const std::string& dataFolder);

}  // namespace rzbench
