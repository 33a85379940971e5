// The program's protection at entry: the image asks for ASLR and DEP, and
// libraries loaded by name come from the system folder only.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "ProgramRun.h"
#include "TestSupport.h"
#include "support/ProcessHardening.h"

using namespace rztest;

TEST(ProgramImage, AsksForAslrAndDepAndKeepsItsRelocations) {
    const std::string image = ReadFile(ProgramPath());
    ASSERT_GT(image.size(), sizeof(IMAGE_DOS_HEADER));
    IMAGE_DOS_HEADER dos{};
    std::memcpy(&dos, image.data(), sizeof(dos));
    ASSERT_EQ(dos.e_magic, IMAGE_DOS_SIGNATURE);
    ASSERT_LE(static_cast<size_t>(dos.e_lfanew) + sizeof(IMAGE_NT_HEADERS32), image.size());
    IMAGE_NT_HEADERS32 nt{};
    std::memcpy(&nt, image.data() + dos.e_lfanew, sizeof(nt));
    ASSERT_EQ(nt.Signature, IMAGE_NT_SIGNATURE);
    EXPECT_TRUE(nt.OptionalHeader.DllCharacteristics & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE) << "no ASLR";
    EXPECT_TRUE(nt.OptionalHeader.DllCharacteristics & IMAGE_DLLCHARACTERISTICS_NX_COMPAT) << "no DEP";
    // ASLR moves only an image that can be relocated.
    EXPECT_FALSE(nt.FileHeader.Characteristics & IMAGE_FILE_RELOCS_STRIPPED);
    EXPECT_GT(nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_BASERELOC].Size, 0u);
}

TEST(EntryHardening, ALibraryPlantedInTheCurrentFolderIsNoLongerLoadedByName) {
    TempDir dir;
    ASSERT_TRUE(::CopyFileA(RZ_E2E_PLANTED_PATH, (dir / "rzplanted.dll").c_str(), FALSE)) << ::GetLastError();
    char previous[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(::SetCurrentDirectoryA(dir.Path().c_str()));
    // Without the hardening the current folder is searched: the plant loads.
    HMODULE before = ::LoadLibraryA("rzplanted.dll");
    EXPECT_NE(before, nullptr) << "the search did not reach the current folder to begin with";
    if (before) ::FreeLibrary(before);

    rz::HardenProcess();
    HMODULE after = ::LoadLibraryA("rzplanted.dll");
    EXPECT_EQ(after, nullptr) << "a planted library was loaded";
    if (after) ::FreeLibrary(after);
    HMODULE system = ::LoadLibraryA("version.dll");
    EXPECT_NE(system, nullptr) << "system libraries must still load by name";
    if (system) ::FreeLibrary(system);
    ::SetCurrentDirectoryA(previous);
}
