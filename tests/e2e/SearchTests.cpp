// The search as a user reaches it: the menu opened by the hotkey, letters of
// any script typed into it from the keyboard, Enter launching the best row,
// and every launch counted in the data folder for the next search. Every
// item is one script that notes its parameter, so the log tells which row
// was launched.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <string>

#include "ProgramRun.h"
#include "TestSupport.h"

using namespace rztest;

namespace {

constexpr DWORD kMenuMs = 10000;
constexpr DWORD kRepressMs = 1000;
constexpr DWORD kSettleMs = 5000;
constexpr POINT kCursor = {120, 90};
constexpr char kFormClass[] = "TForm.Razaveza";

int64_t MinuteNow() {
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    return static_cast<int64_t>(((uint64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime) / 600000000ull);
}

std::wstring EditText(HWND search) {
    HWND edit = ::FindWindowExW(search, nullptr, L"Edit", nullptr);
    wchar_t text[1024] = {};
    DWORD_PTR ignored = 0;
    if (!edit || !::SendMessageTimeoutW(edit, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                                        kSettleMs, &ignored))
        return L"<no answer>";
    return text;
}

void PutOnClipboard(const std::wstring& text) {
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    ASSERT_NE(block, nullptr);
    std::memcpy(::GlobalLock(block), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    ::GlobalUnlock(block);
    // The clipboard owns the block once it took it.
    if (!::SetClipboardData(CF_UNICODETEXT, block)) ::GlobalFree(block);
    ::CloseClipboard();
}

class SearchByKeys : public ProgramCopyTest {
protected:
    void SetUp() override {
        ProgramCopyTest::SetUp();
        if (HasFatalFailure()) return;
        WriteFile(script_, "@echo %1>>launched.txt\r\n");
        auto item = [&](const std::string& param, const std::string& caption) {
            return "^ExeLnk|" + script_ + "|" + param + "||" + caption + "\r\n";
        };
        std::string top = item("may", U8(u8"Отчёт за май")) + item("june", U8(u8"Отчёт за июнь")) +
                          item("cafe", U8(u8"Café crème")) + "^Folder|Archive\r\n";
        for (int i = 1; i <= 24; ++i) top += item("doc" + std::to_string(i), "Document " + std::to_string(i));
        MakeDir(dir_ / "shortcuts");
        MakeDir(dir_ / "shortcuts\\Archive");
        WriteFile(dir_ / "shortcuts\\shortcuts.txt", top);
        // Deeper, and only a substring of "doc": the last of its matches.
        WriteFile(dir_ / "shortcuts\\Archive\\shortcuts.txt", item("last", "Paradocs"));
    }

    void Start() {
        program_ = std::make_unique<RunningProgram>(exe_, dir_.Path());
        ASSERT_TRUE(program_->Started()) << program_->StartError();
        ASSERT_TRUE(WaitUntil([&] { return ReadInstanceMapping().has_value() || !program_->Running(); }, kMenuMs));
        ASSERT_TRUE(program_->Running());
    }

    // The menu by the hotkey, then letters into it: the first answers no
    // entry and opens the search window with it, the rest go to its box.
    HWND SearchFor(const std::wstring& letters) {
        ::SetCursorPos(kCursor.x, kCursor.y);
        if (!OpenMenuByHotkey(*program_, kMenuMs, kRepressMs)) return nullptr;
        TypeText(letters.substr(0, 1));
        HWND search = nullptr;
        WaitUntil([&] { return (search = VisibleWindow(program_->Id(), kFormClass, "Search")) != nullptr; }, kSettleMs);
        if (!search) return nullptr;
        TypeText(letters.substr(1));
        WaitUntil([&] { return EditText(search) == letters; }, kSettleMs);
        return search;
    }

    bool Launched(const std::string& log) {
        return WaitUntil([&] { return FileExists(launched_) && ReadFile(launched_) == log; }, kSettleMs);
    }

    void ExpectNoErrorShown() {
        EXPECT_TRUE(ProcessWindows(program_->Id(), "#32770").empty()) << "the program shows a message box";
        EXPECT_FALSE(FileExists(dir_ / "errorlog.txt")) << ReadFile(dir_ / "errorlog.txt");
    }

    const std::string script_ = dir_ / "report.bat";
    const std::string launched_ = dir_ / "launched.txt";
    const std::string counts_ = dir_ / "launches.txt";
    std::unique_ptr<RunningProgram> program_;
};

TEST_F(SearchByKeys, CyrillicFromTheHotkey_EnterLaunchesWhatWasLearned_MenuLaunchesCountToo) {
    // Bytes that are no counts, then one item launched five times: it ranks
    // first among equal matches, and the rest of the file is rebuilt.
    WriteFile(counts_, std::string("\x01\xFF\x80garbage\tline\r\n\t\t\t\t\r\n") + "5000\t" +
                           std::to_string(MinuteNow()) + "\t" + script_ + "\tjune\t" + U8(u8"Отчёт за июнь") + "\r\n");
    ASSERT_NO_FATAL_FAILURE(Start());
    HWND search = SearchFor(L"\u043E\u0442\u0447");  // "отч"
    ASSERT_NE(search, nullptr) << "no search window";
    EXPECT_EQ(EditText(search), L"\u043E\u0442\u0447") << "letters after the first did not arrive whole";
    PressKeys({VK_RETURN});
    EXPECT_TRUE(Launched("june\r\n")) << (FileExists(launched_) ? ReadFile(launched_) : "nothing launched");
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(search); }, kSettleMs)) << "Enter left the window open";

    // The first entry of the menu, chosen there.
    ::SetCursorPos(kCursor.x, kCursor.y);
    ASSERT_NE(OpenMenuByHotkey(*program_, kMenuMs, kRepressMs), nullptr);
    PressKeys({VK_DOWN});
    PressKeys({VK_RETURN});
    EXPECT_TRUE(Launched("june\r\nmay\r\n")) << ReadFile(launched_);

    const std::string counts = ReadFile(counts_);
    EXPECT_EQ(counts.find("garbage"), std::string::npos) << counts;
    const size_t june = counts.find("\tjune\t");
    ASSERT_NE(june, std::string::npos) << counts;
    const size_t line = counts.rfind('\n', june) + 1;
    EXPECT_GT(std::stod(counts.substr(line, counts.find('\t', line) - line)), 5500) << "June, once more\n" << counts;
    EXPECT_NE(counts.find("\tmay\t" + U8(u8"Отчёт за май") + "\r\n"), std::string::npos) << counts;
    ExpectNoErrorShown();
}

TEST_F(SearchByKeys, ListStaysPut_KeysAndMouseReachEveryMatch_HostileInputIsHarmless) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ::SetCursorPos(kCursor.x, kCursor.y);
    ASSERT_NE(OpenMenuByHotkey(*program_, kMenuMs, kRepressMs), nullptr);
    TypeText(L"d");
    HWND search = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (search = VisibleWindow(program_->Id(), kFormClass, "Search")) != nullptr; },
                          kSettleMs));
    RECT first{}, typed{};
    ::GetWindowRect(search, &first);
    EXPECT_EQ(first.left, kCursor.x);
    EXPECT_EQ(first.top, kCursor.y);
    // Twenty-five matches: ten rows and a line that says there are more.
    EXPECT_LT(first.bottom - first.top, 12 * 19 + 40);
    TypeText(L"oc");
    ASSERT_TRUE(WaitUntil([&] { return EditText(search) == L"doc"; }, kSettleMs));
    ::GetWindowRect(search, &typed);
    EXPECT_TRUE(::EqualRect(&first, &typed)) << "the window moved or changed size while typing";
    PressKeys({VK_END});
    PressKeys({VK_RETURN});
    EXPECT_TRUE(Launched("last\r\n")) << (FileExists(launched_) ? ReadFile(launched_) : "nothing launched");

    // Pages and rows: down two pages, up a row, up a page, down a row is the
    // eleventh; a letter too many and Backspace bring the matches back.
    search = SearchFor(L"docx");
    ASSERT_NE(search, nullptr);
    PressKeys({VK_BACK});
    ASSERT_TRUE(WaitUntil([&] { return EditText(search) == L"doc"; }, kSettleMs));
    for (WORD key : {VK_NEXT, VK_NEXT, VK_UP, VK_PRIOR, VK_DOWN, VK_RETURN}) PressKeys({key});
    EXPECT_TRUE(Launched("last\r\ndoc11\r\n")) << ReadFile(launched_);

    // The pointer on the third row, a click there: the eleventh document,
    // just launched, now leads the documents, so the third row is the second.
    search = SearchFor(L"doc");
    ASSERT_NE(search, nullptr);
    HWND list = ::FindWindowExA(search, nullptr, "TControl.Razaveza", nullptr);
    ASSERT_NE(list, nullptr);
    RECT rows{};
    ::GetWindowRect(list, &rows);
    const POINT third{rows.left + 60, rows.top + (rows.bottom - rows.top) / 11 * 5 / 2};
    for (DWORD button : {DWORD(0), DWORD(MOUSEEVENTF_LEFTDOWN), DWORD(MOUSEEVENTF_LEFTUP)}) Mouse(third, button);
    EXPECT_TRUE(Launched("last\r\ndoc11\r\ndoc2\r\n")) << ReadFile(launched_);

    // A thousand letters, an emoji and a control character: the box keeps
    // what fits, the program stays.
    search = SearchFor(L"\u0436");
    ASSERT_NE(search, nullptr);
    TypeText(std::wstring(1000, L'x') + L"\U0001F600\x01");
    EXPECT_TRUE(WaitUntil([&] { return EditText(search).size() == 255; }, kSettleMs)) << EditText(search).size();
    PressKeys({VK_ESCAPE});
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(search); }, kSettleMs)) << "Esc left the window open";

    // Pasted lines become one line of words in any order.
    PutOnClipboard(L"\u043C\u0430\u0439\r\n\u043E\u0442\u0447\u0451\u0442\r\n");  // "май", "отчёт"
    search = SearchFor(L"\u043E");
    ASSERT_NE(search, nullptr);
    PressKeys({VK_BACK});
    PressKeys({VK_CONTROL, 'V'});
    EXPECT_TRUE(
        WaitUntil([&] { return EditText(search) == L"\u043C\u0430\u0439 \u043E\u0442\u0447\u0451\u0442 "; }, kSettleMs))
        << EditText(search).size();
    PressKeys({VK_RETURN});
    EXPECT_TRUE(Launched("last\r\ndoc11\r\ndoc2\r\nmay\r\n")) << ReadFile(launched_);
    ExpectNoErrorShown();
}

}  // namespace
