// The search reached from the hotkey's menu by keys and the mouse; every item
// runs one script that notes its parameter in a log.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "ProgramRun.h"
#include "TestSupport.h"
#include "platform/TextCodePage.h"

using namespace rztest;

namespace {

// What the search window's box holds.
std::string EditText(HWND search) { return FieldText(ChildOf(search, "Edit")); }

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

class SearchByKeys : public ManagerProgramTest {
protected:
    void SetUp() override {
        ProgramCopyTest::SetUp();
        if (HasFatalFailure()) return;
        WriteFile(script_, "@echo %1>>launched.txt\r\n");
        std::string list = Item("may", U8(u8"Отчёт за май")) + Item("june", U8(u8"Отчёт за июнь"));
        for (int i = 1; i <= 24; ++i) list += Item("doc" + std::to_string(i), "Document " + std::to_string(i));
        MakeDir(store_);
        WriteFile(store_ + "\\shortcuts.txt", list + "^Folder|Quarterly reports\r\n");
        MakeDir(store_ + "\\Quarterly reports");
        WriteFile(store_ + "\\Quarterly reports\\shortcuts.txt", Item("q1", "First summary"));
    }
    std::string Item(const std::string& param, const std::string& caption) const {
        return "^ExeLnk|" + script_ + "|" + param + "||" + caption + "\r\n";
    }

    // The menu by the hotkey, then letters into it: the first answers no
    // entry and opens the search window with it, the rest go to its box.
    HWND SearchFor(const std::wstring& letters) {
        if (!OpenMenuByHotkey()) return nullptr;
        TypeText(letters.substr(0, 1));
        HWND search = nullptr;
        WaitUntil([&] { return (search = VisibleWindow(program_->Id(), "TForm.Razaveza", "Search")) != nullptr; },
                  kWindowMs);
        if (!search) return nullptr;
        TypeText(letters.substr(1));
        WaitUntil([&] { return EditText(search) == rz::FromUtf16(letters); }, kWindowMs);
        return search;
    }

    bool Launched(const std::string& log) {
        return WaitUntil([&] { return ReadFile(marker_) == log; }, kWindowMs);
    }
    // The counts file holds this and was written anew since the test wrote it.
    bool Counted(const std::string& part) {
        return WaitUntil(
            [&] {
                const std::string counts = ReadFile(counts_);
                return counts.find(part) != std::string::npos && counts.find("garbage") == std::string::npos;
            },
            kWindowMs);
    }

    const std::string script_ = dir_ / "report.bat";
    const std::string counts_ = dir_ / "launches.txt";
};

TEST_F(SearchByKeys, CyrillicEnterLaunchesWhatWasLearned_KeysAndTheMouseReachEveryMatch_EscAndPaste) {
    // Bytes that are no counts, then June launched five times this minute:
    // it ranks first among equal matches, and its launch rebuilds the file.
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    const uint64_t minute = ((uint64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime) / 600000000ull;
    WriteFile(counts_, "\x01\xFF garbage\r\n5000\t" + std::to_string(minute) + "\t" + script_ + "\tjune\t" +
                           U8(u8"Отчёт за июнь") + "\r\n");
    ASSERT_NO_FATAL_FAILURE(Start());
    HWND search = SearchFor(L"\u043E\u0442\u0447");  // "отч"
    ASSERT_NE(search, nullptr) << "no search window";
    EXPECT_EQ(EditText(search), U8(u8"отч")) << "letters after the first did not arrive whole";
    PressKeys({VK_RETURN});
    EXPECT_TRUE(Launched("june\r\n")) << ReadFile(marker_);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(search); }, kWindowMs)) << "Enter left the window open";
    EXPECT_TRUE(Counted("\tjune\t")) << ReadFile(counts_);
    // The first entry of the menu, chosen there.
    ASSERT_NE(OpenMenuByHotkey(), nullptr);
    PressKeys({VK_DOWN});
    PressKeys({VK_RETURN});
    EXPECT_TRUE(Launched("june\r\nmay\r\n")) << ReadFile(marker_);
    EXPECT_TRUE(Counted("\tmay\t" + U8(u8"Отчёт за май"))) << ReadFile(counts_);

    // Pages and rows: down two pages, up a row, up a page, down a row is the
    // eleventh; a letter too many and Backspace bring the matches back.
    search = SearchFor(L"docx");
    ASSERT_NE(search, nullptr);
    PressKeys({VK_BACK});
    ASSERT_TRUE(WaitUntil([&] { return EditText(search) == "doc"; }, kWindowMs));
    for (WORD key : {VK_NEXT, VK_NEXT, VK_UP, VK_PRIOR, VK_DOWN, VK_RETURN}) PressKeys({key});
    EXPECT_TRUE(Launched("june\r\nmay\r\ndoc11\r\n")) << ReadFile(marker_);

    // The pointer on the third row of ten and a line of more, a click there:
    // the eleventh document, just launched, leads, so the third is the second.
    search = SearchFor(L"doc");
    ASSERT_NE(search, nullptr);
    HWND list = ::FindWindowExA(search, nullptr, "TControl.Razaveza", nullptr);
    ASSERT_NE(list, nullptr);
    RECT rows{};
    ::GetWindowRect(list, &rows);
    const POINT third{rows.left + 60, rows.top + (rows.bottom - rows.top) / 11 * 5 / 2};
    Mouse(third, 0);
    Click(third);
    EXPECT_TRUE(Launched("june\r\nmay\r\ndoc11\r\ndoc2\r\n")) << ReadFile(marker_);

    search = SearchFor(L"\u0436");
    ASSERT_NE(search, nullptr);
    PressKeys({VK_ESCAPE});
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(search); }, kWindowMs)) << "Esc left the window open";

    // Pasted lines become one line of words in any order.
    PutOnClipboard(L"\u043C\u0430\u0439\r\n\u043E\u0442\u0447\u0451\u0442\r\n");  // "май", "отчёт"
    search = SearchFor(L"\u043E");
    ASSERT_NE(search, nullptr);
    PressKeys({VK_BACK});
    PressKeys({VK_CONTROL, 'V'});
    EXPECT_TRUE(WaitUntil([&] { return EditText(search) == U8(u8"май отчёт "); }, kWindowMs)) << EditText(search);
    PressKeys({VK_RETURN});
    EXPECT_TRUE(Launched("june\r\nmay\r\ndoc11\r\ndoc2\r\nmay\r\n")) << ReadFile(marker_);
    ExpectNoErrorShown();
}

// A folder is found too: chosen, it opens where the search window was, as
// if the user had walked there; only the item launched from it is counted.
TEST_F(SearchByKeys, AFolderChosenOpensWhereTheSearchWas_OnlyWhatLaunchesIsCounted) {
    ASSERT_NO_FATAL_FAILURE(Start());
    HWND search = SearchFor(L"quarterly");
    ASSERT_NE(search, nullptr);
    RECT place{};
    ::GetWindowRect(search, &place);
    PressKeys({VK_RETURN});
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            const auto menus = VisibleMenus(program_->Id());
            return (menu = menus.empty() ? nullptr : menus.front()) != nullptr;
        },
        kWindowMs))
        << "the folder did not open";
    RECT shown{};
    ::GetWindowRect(menu, &shown);
    EXPECT_LE(std::abs(shown.left - place.left), 4);
    EXPECT_LE(std::abs(shown.top - place.top), 4);
    PressKeys({VK_DOWN});
    PressKeys({VK_RETURN});
    EXPECT_TRUE(Launched("q1\r\n")) << ReadFile(marker_);
    EXPECT_TRUE(Counted("\tq1\t")) << ReadFile(counts_);
    EXPECT_EQ(ReadFile(counts_).find("Quarterly"), std::string::npos) << "the folder was counted as a launch";
    ExpectNoErrorShown();
}

}  // namespace
