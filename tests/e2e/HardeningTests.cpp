// The program's protection at entry: the image asks for ASLR and DEP, and
// libraries loaded by name come from the system folder only.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "ProgramRun.h"
#include "TestSupport.h"
#include "app/Forms.h"
#include "app/InitFinit.h"
#include "platform/Application.h"
#include "platform/Dpi.h"
#include "platform/Window.h"
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

namespace {

struct Image {
    std::string bytes;
    IMAGE_NT_HEADERS32 nt{};
    std::vector<IMAGE_SECTION_HEADER> sections;

    explicit Image(const std::string& path) : bytes(ReadFile(path)) {
        IMAGE_DOS_HEADER dos{};
        std::memcpy(&dos, bytes.data(), sizeof(dos));
        std::memcpy(&nt, bytes.data() + dos.e_lfanew, sizeof(nt));
        size_t at = dos.e_lfanew + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) + nt.FileHeader.SizeOfOptionalHeader;
        for (int i = 0; i < nt.FileHeader.NumberOfSections; ++i, at += sizeof(IMAGE_SECTION_HEADER)) {
            IMAGE_SECTION_HEADER section{};
            std::memcpy(&section, bytes.data() + at, sizeof(section));
            sections.push_back(section);
        }
    }
    // The file offset of a virtual address, or 0 when no section holds it.
    size_t Offset(DWORD rva) const {
        for (const IMAGE_SECTION_HEADER& s : sections)
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData)
                return rva - s.VirtualAddress + s.PointerToRawData;
        return 0;
    }
    std::vector<std::string> ImportedLibraries() const {
        std::vector<std::string> names;
        size_t at = Offset(nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
        for (IMAGE_IMPORT_DESCRIPTOR d{}; at; at += sizeof(d)) {
            std::memcpy(&d, bytes.data() + at, sizeof(d));
            if (!d.Name) break;
            names.push_back(CharUpperString(bytes.c_str() + Offset(d.Name)));
        }
        return names;
    }
    static std::string CharUpperString(std::string s) {
        ::CharUpperBuffA(s.data(), static_cast<DWORD>(s.size()));
        return s;
    }
};

}  // namespace

// What a user downloads: small, without debug sections, and needing no
// library that Windows does not bring.
TEST(ProgramImage, IsSmallStrippedAndNeedsOnlyTheSystemsLibraries) {
    const Image image(ProgramPath());
    EXPECT_LT(image.bytes.size(), 832u * 1024u);
    for (const IMAGE_SECTION_HEADER& s : image.sections) {
        const std::string name(reinterpret_cast<const char*>(s.Name),
                               strnlen(reinterpret_cast<const char*>(s.Name), 8));
        EXPECT_NE(name.rfind("/", 0), 0u) << "a section with a long name, as debug sections have: " << name;
        EXPECT_NE(name.rfind(".debug", 0), 0u) << name;
    }
    const std::set<std::string> system = {"ADVAPI32.DLL", "COMCTL32.DLL", "COMDLG32.DLL", "GDI32.DLL",
                                          "KERNEL32.DLL", "MSVCRT.DLL",   "OLE32.DLL",    "OLEAUT32.DLL",
                                          "SHELL32.DLL",  "USER32.DLL",   "WINMM.DLL"};
    const std::vector<std::string> imported = image.ImportedLibraries();
    EXPECT_FALSE(imported.empty());
    for (const std::string& name : imported) EXPECT_TRUE(system.count(name)) << name << " is not a system library";
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

namespace {
class FaultRoute : public ProgramCopyTest {};
}  // namespace

TEST_F(FaultRoute, AHardwareExceptionIsLoggedThenTheFatalBoxEndsTheProgram) {
    // It ended in the system's crash dialog with nothing in the log.
    RunningProgram program(exe_, dir_.Path());
    ASSERT_TRUE(program.Started()) << program.StartError();
    ASSERT_TRUE(WaitUntil([&] { return DirExists(dir_ / "shortcuts"); }, kStartMs));
    ::Sleep(500);
    rz::unique_handle_kernel process(::OpenProcess(PROCESS_ALL_ACCESS, FALSE, program.Id()));
    ASSERT_TRUE(process) << ::GetLastError();
    // A thread that starts at address 0 faults at once, as a broken shell extension would.
    rz::unique_handle_kernel thread(::CreateRemoteThread(process.get(), nullptr, 0, nullptr, nullptr, 0, nullptr));
    ASSERT_TRUE(thread) << ::GetLastError();
    const std::vector<std::string> shown = AnswerBoxesUntilExit(program, kExitMs);
    ASSERT_FALSE(program.Running()) << "the program still runs";
    ASSERT_FALSE(shown.empty());
    EXPECT_NE(shown.back().find("Exception raised, Razaveza will now terminate"), std::string::npos) << shown.back();
    const std::string log = ReadFile(dir_ / "errorlog.txt");
    EXPECT_NE(log.find("Exception raised (Sender Couldn't be determined): Access violation (C0000005) at 0x00000000"),
              std::string::npos)
        << log;
}

namespace {

// The window and every child of it, shown or hidden.
void AddWithChildren(HWND hwnd, std::vector<HWND>& all) {
    all.push_back(hwnd);
    for (HWND child = ::GetWindow(hwnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        AddWithChildren(child, all);
}

class ForeignMessages : public ManagerProgramTest {};

}  // namespace

TEST_F(ForeignMessages, PointersFromAnotherProcessNeverEndTheProgram) {
    // A posted WM_DPICHANGED with a made-up lParam ended it (exit code 5); a
    // posted WM_TIMER ran the address it named; a sent WM_NCCREATE had a
    // window take the sender's pointer as its object; sent WM_CONTEXTMENUs
    // stacked up menus that Esc did not close.
    ASSERT_NO_FATAL_FAILURE(Start());
    auto menuOpensAndCloses = [&] {
        if (!OpenMenuByHotkey()) return false;
        PressKeys({VK_ESCAPE});
        return WaitUntil([&] { return VisibleMenus(program_->Id()).empty(); }, kExitMs);
    };
    ASSERT_TRUE(menuOpensAndCloses()) << "the program did not come up";
    // A window of this process that carries the property the program's controls carry.
    HWND decoy = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(decoy, nullptr);
    ::SetPropA(decoy, "Razaveza.TControl", reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x00001234)));
    std::vector<HWND> windows;
    for (HWND top : ProcessWindows(program_->Id(), nullptr)) AddWithChildren(top, windows);
    ASSERT_FALSE(windows.empty());
    // Objects of the program's heap and its image as the sender's choice of "object".
    const auto theirs = [&](int index) { return static_cast<ULONG_PTR>(::GetWindowLongPtrA(windows.front(), index)); };
    CREATESTRUCTA chosen{}, heap{}, image{};
    chosen.lpCreateParams = reinterpret_cast<void*>(static_cast<ULONG_PTR>(0x41414141));
    heap.lpCreateParams = reinterpret_cast<void*>(theirs(GWLP_USERDATA));
    image.lpCreateParams = reinterpret_cast<void*>(theirs(GWLP_HINSTANCE));
    const auto exitProcess =
        reinterpret_cast<LPARAM>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "ExitProcess"));
    const std::tuple<UINT, WPARAM, LPARAM> messages[] = {
        {WM_DPICHANGED, MAKEWPARAM(144, 144), 0x00001234},
        {WM_DPICHANGED, MAKEWPARAM(65535, 65535), static_cast<LPARAM>(0xDEAD0000u)},
        {WM_NOTIFY, 1, 0x00001234},
        {WM_DRAWITEM, 0, 0x00001234},
        {WM_MEASUREITEM, 0, 0x00001234},
        {WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), reinterpret_cast<LPARAM>(decoy)},
        {WM_TIMER, 1, exitProcess},
        {WM_TIMER, 1, static_cast<LPARAM>(theirs(GWLP_HINSTANCE))},
        {0x0118 /* WM_SYSTIMER */, 1, exitProcess},
        {WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&chosen)},
        {WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&heap)},
        {WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&image)},
        {WM_CREATE, 0, reinterpret_cast<LPARAM>(&chosen)},
        {WM_CONTEXTMENU, 0, MAKELPARAM(100, 100)},
        {WM_CONTEXTMENU, 0, -1}};
    for (const auto& [msg, wp, lp] : messages) {
        for (HWND hwnd : windows) {
            // Posted, the system carries no pointer: the address itself arrives.
            if (msg != WM_NCCREATE && msg != WM_CREATE) ::PostMessageA(hwnd, msg, wp, lp);
            DWORD_PTR ignored = 0;
            if (msg != WM_TIMER && msg != 0x0118)
                ::SendMessageTimeoutA(hwnd, msg, wp, lp, SMTO_ABORTIFHUNG, 2000, &ignored);
        }
    }
    ::DestroyWindow(decoy);
    EXPECT_TRUE(VisibleMenus(program_->Id()).empty()) << "a menu opened for another process";
    // Timers that name any address at all.
    std::mt19937 random(36);
    for (int i = 0; i < 10000 && program_->Running(); ++i) {
        ::PostMessageA(windows[i % windows.size()], WM_TIMER, i, static_cast<LPARAM>(random()));
        DWORD_PTR ignored = 0;
        if (i % 500 == 499) ::SendMessageTimeoutA(windows.front(), WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
    }
    // Still there, still answering the hotkey, and nothing to report.
    EXPECT_TRUE(menuOpensAndCloses()) << (program_->Running() ? "no menu" : "it ended") << ", exit code "
                                      << program_->WaitForExit(0).value_or(STILL_ACTIVE);
    ExpectNoErrorShown();
}

DWORD WINAPI SendFromThread(void* window) {
    ::SendMessageA(static_cast<HWND>(window), WM_APP, 0, 0);
    return 0;
}

// The child of the test below: a faulting window procedure, faults routed as the program does.
TEST(FaultInWindowProcedure, Child) {
    const char* folder = std::getenv("RZ_FAULT_CHILD_FOLDER");
    const char* route = std::getenv("RZ_FAULT_ROUTE");
    if (!folder || !route)
        GTEST_SKIP() << "runs only as the child process of FaultRoute.AFaultInsideAWindowProcedure...";
    rz::OverrideDataFolder(folder);
    rz::CreateForms();
    rz::InstallFaultFilter();
    rz::StartUp();
    struct Faulting : rz::TWindow {
        Faulting() {
            RegisterClassOnce("RzFaultingWindow", nullptr);
            CreateHandle(0, "RzFaultingWindow", "", WS_POPUP, 0, 0, 0, 0, nullptr);
        }
        LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
            if (msg == WM_APP || (msg == WM_TIMER && wp == 7) || (msg == WM_SIZE && LOWORD(lp) == 77))
                *static_cast<volatile int*>(reinterpret_cast<void*>(lp & 0)) = 1;
            return TWindow::HandleMessage(msg, wp, lp);
        }
    } window;
    const std::string how = route;
    if (how == "posted") ::PostMessageA(window.Handle(), WM_APP, 0, 0);
    if (how == "timer") ::SetTimer(window.Handle(), 7, 10, nullptr);
    if (how == "system") ::SetWindowPos(window.Handle(), nullptr, 0, 0, 77, 77, SWP_NOZORDER | SWP_NOACTIVATE);
    if (how == "thread") ::CloseHandle(::CreateThread(nullptr, 0, &SendFromThread, window.Handle(), 0, nullptr));
    rz::Application.Run();
    FAIL() << "the fault did not end the process";
}

TEST_F(FaultRoute, AFaultInsideAWindowProcedureIsLoggedThenTheFatalBoxEndsTheProgram) {
    // Inside a message the system sends, from SetWindowPos or from another
    // thread, the system's own handlers caught it first: no log line, no
    // box, and the program went on as if nothing had happened.
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    for (const char* route : {"posted", "timer", "system", "thread"}) {
        SCOPED_TRACE(route);
        TempDir folder;
        ::SetEnvironmentVariableA("RZ_FAULT_CHILD_FOLDER", folder.Path().c_str());
        ::SetEnvironmentVariableA("RZ_FAULT_ROUTE", route);
        RunningProgram child(self, folder.Path(), "--gtest_filter=FaultInWindowProcedure.Child");
        ::SetEnvironmentVariableA("RZ_FAULT_CHILD_FOLDER", nullptr);
        ::SetEnvironmentVariableA("RZ_FAULT_ROUTE", nullptr);
        ASSERT_TRUE(child.Started()) << child.StartError();
        const std::vector<std::string> shown = AnswerBoxesUntilExit(child, kExitMs);
        EXPECT_EQ(child.WaitForExit(0).value_or(0), static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION)) << "not ended so";
        ASSERT_FALSE(shown.empty()) << "no box";
        EXPECT_NE(shown.back().find("Exception raised, Razaveza will now terminate"), std::string::npos)
            << shown.back();
        const std::string log = ReadFile(folder / "errorlog.txt");
        EXPECT_NE(log.find("Exception raised (Sender Couldn't be determined): Access violation (C0000005) at 0x"),
                  std::string::npos)
            << log;
        EXPECT_NE(log.find(" in test_e2e.exe. Last Win32 Error"), std::string::npos) << log;
    }
}
