#pragma once
// Timing, memory figures and scratch folders for the benchmark.

#include <windows.h>

#include <string>
#include <vector>

#include "platform/Handles.h"

namespace rzbench {

inline void DestroyWindowHandle(HWND h) { ::DestroyWindow(h); }
using unique_hwnd = rz::unique_handle<HWND, DestroyWindowHandle>;

class Stopwatch {
public:
    Stopwatch() { ::QueryPerformanceCounter(&start_); }
    double Ms() const;

private:
    LARGE_INTEGER start_;
};

double Median(std::vector<double> values);

struct MemoryFigures {
    double workingSetMb = 0;
    double privateMb = 0;  // PagefileUsage: the process's committed private bytes
};
MemoryFigures CurrentMemory();

// GDI (GR_GDIOBJECTS) or USER (GR_USEROBJECTS) objects the process holds.
// Wine answers 0: there it is the top of the handle table in use (new
// handles take the lowest free slots), which only a leak keeps raising.
unsigned GuiObjects(DWORD which);

// ours / base with that many decimals and an "x", or "-" when either is unknown.
std::string RatioText(double ours, double base, int decimals);

// scratch + name made anew and empty; ends with "\".
std::string NewDataFolder(const std::string& scratch, const std::string& name);

// A fresh folder under the temp directory; Path() ends with "\".
std::string MakeScratchFolder(const std::string& prefix);

// The path of a file in the folder of this benchmark's program (what the
// bench target builds beside it).
std::string BesideThisProgram(const char* name);

void WriteWholeFile(const std::string& path, const std::string& content);
std::string ReadWholeFile(const std::string& path);

}  // namespace rzbench
