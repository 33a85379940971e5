// Type to search from the open launcher menu, in both drawing modes:
// accelerators still choose their entry, any other letter moves to the
// search window, which looks like the menu and whose keys pick and launch an
// item of the whole tree through the entry's own click.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "LayoutCheck.h"
#include "MenuDrawFixture.h"
#include "core/Settings.h"
#include "items/LauncherParts.h"
#include "core/Launching.h"
#include "menu/ItemActions.h"
#include "menu/form_search.h"
#include "platform/Clipboard.h"
#include "platform/TextCodePage.h"
#include "menu/form_shortcuts.h"
#include "platform/CanvasText.h"
#include "platform/Timer.h"
#include "support/UcvGraphics.h"

namespace {

class SearchWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved = rz::Settings;
        rz::Settings.FontName = "Tahoma";
        store().itemClick = [this](rz::TObject* s) { clicked.push_back(static_cast<rz::TMenuItem*>(s)->Caption); };
        store().PrepareBaseTree();
        rz::TMenuItem& root = parts.PMItems.Items();
        Link("&Notes", "C:\\x\\notes.exe", root, nullptr);
        store().AddLaunchItem(rz::ItemKind::Folder, "", "", nullptr, root, 0, "Tools");
        rz::TMenuItem& tools = *store().currentFolderMenu;
        Link("Word Counter", "C:\\x\\count.exe", tools, store().currentFolderNode);
        Link("Wordpad", "C:\\x\\pad.exe", root, nullptr);
        Link("Crossword", "C:\\x\\cross.exe", root, nullptr);
    }
    void TearDown() override { rz::Settings = saved; }
    rz::ItemStore& store() { return parts.store; }
    void Link(const char* caption, const char* path, rz::TMenuItem& menu, rz::TTreeNode* node) {
        store().AddLaunchItem(rz::ItemKind::ExeLnk, path, "", node, menu, 2, caption);
    }
    // Opens the launcher menu and types character into it once it shows.
    void TypeIntoMenu(char character) {
        int ticks = 0;
        rz::TTimer timer("Typist");
        timer.SetInterval(30);
        timer.OnTimer = [&](rz::TObject*) {
            if (!rz::TPopupMenu::Current()) return;
            ++ticks;
            if (ticks == 2) ::PostMessageA(owner.Handle(), WM_CHAR, static_cast<WPARAM>(character), 0);
            if (ticks > 100) ::PostMessageA(owner.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
        };
        timer.SetEnabled(true);
        parts.PMItems.Popup(100, 100, owner.Handle());
        timer.SetEnabled(false);
    }
    LRESULT Send(UINT msg, WPARAM wp) { return ::SendMessageA(search.EditSearch.Handle(), msg, wp, 0); }
    std::vector<std::string> Shown() const {
        std::vector<std::string> captions;
        for (const auto& r : search.Results()) captions.push_back(r.entry->Caption + " in [" + *r.folder + "]");
        return captions;
    }

    rz::TSettings saved;
    rztest::OwnerForm owner;
    rz::TTreeView tree{"TVItems"};
    rz::LauncherParts parts{tree};
    rz::TFormShortCuts shortCuts{parts};
    rz::TFormSearch search{parts};
    std::vector<std::string> clicked;
};

// Keys held down in the thread's keyboard state, which GetKeyState reads, while it lives.
class HeldKeys {
public:
    explicit HeldKeys(std::vector<int> keys) {
        ::GetKeyboardState(old_);
        BYTE now[256];
        std::memcpy(now, old_, sizeof(now));
        for (int key : keys) now[key] = 0x80;
        ::SetKeyboardState(now);
    }
    ~HeldKeys() { ::SetKeyboardState(old_); }

private:
    BYTE old_[256];
};

TEST_F(SearchWindowTest, AnUnansweredLetterInTheMenuSearchesTheWholeTreeAndLaunchesLikeTheMenu) {
    rztest::DistinctSysColours colours;
    for (bool windowsDraw : {true, false}) {
        SCOPED_TRACE(windowsDraw ? "platform drawing" : "own drawing");
        rz::Settings.WindowsDraw = windowsDraw;
        shortCuts.ApplyMenuDrawing();
        clicked.clear();
        TypeIntoMenu('n');
        EXPECT_EQ(clicked, std::vector<std::string>{"&Notes"}) << "an accelerator keeps choosing its entry";
        EXPECT_FALSE(search.Visible());

        TypeIntoMenu('w');
        EXPECT_FALSE(parts.PMItems.IsOpen());
        ASSERT_TRUE(search.Visible());
        EXPECT_EQ(search.EditSearch.Text(), "w");
        Send(WM_CHAR, 'o');
        // The program's own entries ("Visit Website") are not items.
        EXPECT_EQ(Shown(), (std::vector<std::string>{"Wordpad in []", "Word Counter in [Tools]", "Crossword in []"}));
        EXPECT_EQ(search.Selected(), 0);

        // The selected row: its icon cell stays unhighlighted only in own drawing.
        rztest::Surface row(300, search.ListResults.RowHeight);
        search.ListResults.OnDrawRow(row.Canvas(), 0, RECT{0, 0, row.Width(), row.Height()});
        EXPECT_EQ(row.At(19, row.Height() / 2), rztest::Sys(windowsDraw ? COLOR_HIGHLIGHT : COLOR_MENU));
        EXPECT_EQ(row.At(row.Width() - 3, 1), rztest::Sys(COLOR_HIGHLIGHT));

        Send(WM_KEYDOWN, VK_END);
        Send(WM_KEYDOWN, VK_UP);
        EXPECT_EQ(search.Selected(), 1);
        Send(WM_KEYDOWN, VK_RETURN);
        EXPECT_EQ(clicked, (std::vector<std::string>{"&Notes", "Word Counter"}));
        EXPECT_FALSE(search.Visible());

        search.OpenAt(POINT{10, 10}, "");
        EXPECT_TRUE(search.Results().empty());
        Send(WM_KEYDOWN, VK_BACK);
        EXPECT_FALSE(search.Visible()) << "Backspace in an empty box closes it";
        EXPECT_EQ(clicked.size(), 2u);
    }
}

TEST_F(SearchWindowTest, WholeAt144Dpi_TextUncutIconCellScaled) {
    rztest::DistinctSysColours colours;
    rz::Settings.WindowsDraw = false;
    search.OpenAt(POINT{10, 10}, "w");
    ASSERT_FALSE(search.Results().empty());
    rztest::ExpectWholeAtDpi(search, rz::FontSizeForDrawing(rz::Settings.FontSize), 144,
                             {{&search.EditSearch, 0}, {&search.ListResults, -1}});
    EXPECT_EQ(search.Selected(), 0) << "the selection survives the move";

    const int rowHeight = search.ListResults.RowHeight;
    rztest::Surface row(search.Scaled(300), rowHeight);
    rz::SelectGuard font(row.Canvas(), search.Font());
    TEXTMETRICA tm{};
    ::GetTextMetricsA(row.Canvas(), &tm);
    EXPECT_LE(tm.tmHeight, rowHeight) << "rows cut their text";
    search.ListResults.OnDrawRow(row.Canvas(), 0, RECT{0, 0, row.Width(), rowHeight});
    // The unhighlighted icon cell is 20 pixels wide at 96 DPI.
    EXPECT_EQ(row.At(search.Scaled(20) - 1, rowHeight / 2), rztest::Sys(COLOR_MENU));
    EXPECT_EQ(row.At(search.Scaled(20) + 1, rowHeight / 2), rztest::Sys(COLOR_HIGHLIGHT));
}

// More matches than the first fetch: ten rows and a line telling of the rest,
// each a key away; the box stays where it opened (above its point only where
// below has no room). Matched letters are underlined.
TEST_F(SearchWindowTest, ManyMatches_TenRowsAllReachable_BoxStaysPut_MatchesUnderlined) {
    rztest::DistinctSysColours colours;
    for (int i = 1; i <= 70; ++i)
        Link(("Doc " + std::to_string(i)).c_str(), "C:\\x\\d.exe", parts.PMItems.Items(), nullptr);
    RECT work{}, opened{}, typed{}, window{};
    ASSERT_TRUE(::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    for (LONG y : {work.top + 10, work.bottom - 5}) {
        SCOPED_TRACE(y);
        search.OpenAt(POINT{work.left + 10, y}, "d");
        ::GetWindowRect(search.EditSearch.Handle(), &opened);
        Send(WM_CHAR, 'o');
        ::GetWindowRect(search.EditSearch.Handle(), &typed);
        EXPECT_TRUE(::EqualRect(&opened, &typed)) << "the box moved";
        ::GetWindowRect(search.Handle(), &window);
        EXPECT_EQ(y < work.bottom / 2 ? window.top : window.bottom, y);
        EXPECT_EQ(search.ListResults.Rows, 10);
        EXPECT_FALSE(search.ListResults.Note.empty());
        EXPECT_EQ(search.Total(), 71u) << "seventy documents and Word Counter";

        const struct {
            WORD key;
            int selected, top;
        } keys[] = {{VK_NEXT, 10, 1}, {VK_END, 70, 61}, {VK_HOME, 0, 0}};
        for (const auto& k : keys) {
            Send(WM_KEYDOWN, k.key);
            EXPECT_EQ(search.Selected(), k.selected) << k.key;
            EXPECT_EQ(search.TopRow(), k.top) << k.key;
        }
        Send(WM_CHAR, 'z');
        EXPECT_EQ(search.ListResults.Rows, 0);
        EXPECT_FALSE(search.ListResults.Note.empty()) << "no line that says there are no matches";
        Send(WM_KEYDOWN, VK_RETURN);
        EXPECT_TRUE(clicked.empty());
        Send(WM_KEYDOWN, VK_ESCAPE);
    }

    // "Doc" of the selected "Doc 1" underlined, and no more of it: the
    // longest run of highlighted text colour in the row.
    search.OpenAt(POINT{work.left + 10, work.top + 10}, "doc");
    rztest::Surface row(search.Scaled(300), search.ListResults.RowHeight);
    search.ListResults.OnDrawRow(row.Canvas(), 0, RECT{0, 0, row.Width(), row.Height()});
    rz::SelectGuard font(row.Canvas(), search.Font());
    SIZE doc{}, docBlank{};
    ::GetTextExtentPoint32A(row.Canvas(), "Doc", 3, &doc);
    ::GetTextExtentPoint32A(row.Canvas(), "Doc ", 4, &docBlank);
    int longest = 0;
    for (int y = 0; y < row.Height(); ++y)
        for (int x = 0, run = 0; x < row.Width(); ++x) {
            run = row.At(x, y) == rztest::Sys(COLOR_HIGHLIGHTTEXT) ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    EXPECT_GE(longest, doc.cx - 1);
    EXPECT_LE(longest, docBlank.cx + 1);
}

}  // namespace

namespace {

// A row whose letters matched in the middle of its caption, against the same
// row shown for a match of its file name (nothing marked): the letters land
// on the same pixels, and only the marks' thin band differs.
TEST_F(SearchWindowTest, MarkedRowsDrawTheirLettersOnceInPlace) {
    const struct {
        const char* caption;
        const char* query;
        const char* middle;  // a marked part that is not at the start
    } cases[] = {
        {"Backup Photos", "photos backup", "Photos"},
        {"Garden notes", "garden note", "note"},
        {"Notepad", "notpad", "Notepad"},
        {"Pop quiz", "z", "z"},
        {"Trip \xF0\x9F\x93\xB7 album", "album", "album"},
        {"Cafe\xCC\x81 notes", "cafe notes", "notes"},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        Link(cases[i].caption, ("C:\\x\\k" + std::to_string(i + 1) + ".exe").c_str(), parts.PMItems.Items(), nullptr);
    for (bool windowsDraw : {false, true})
        for (int dpi : {96, 144}) {
            rz::Settings.WindowsDraw = windowsDraw;
            for (size_t i = 0; i < std::size(cases); ++i) {
                const auto& c = cases[i];
                SCOPED_TRACE(std::string(c.caption) + " at " + std::to_string(dpi) + (windowsDraw ? " platform" : ""));
                const auto drawn = [&](const std::string& query) {
                    search.OpenAt(POINT{10, 10}, "");
                    if (dpi != 96) rztest::MoveToDpi(search, dpi);
                    for (char letter : query) Send(WM_CHAR, static_cast<unsigned char>(letter));
                    auto row = std::make_unique<rztest::Surface>(search.Scaled(300), search.ListResults.RowHeight);
                    EXPECT_EQ(search.Results().empty() ? "" : search.Results()[0].entry->Caption, c.caption);
                    search.ListResults.OnDrawRow(row->Canvas(), 0, RECT{0, 0, row->Width(), row->Height()});
                    search.Hide();
                    return row;
                };
                const auto plain = drawn("k" + std::to_string(i + 1));
                const auto marked = drawn(c.query);
                std::vector<int> rows;
                int right = -1;
                for (int y = 0; y < plain->Height(); ++y)
                    for (int x = 0; x < plain->Width(); ++x)
                        if (plain->At(x, y) != marked->At(x, y)) {
                            if (rows.empty() || rows.back() != y) rows.push_back(y);
                            right = std::max(right, x);
                        }
                EXPECT_FALSE(rows.empty()) << "nothing marked";
                EXPECT_LE(rows.size(), static_cast<size_t>(rz::ScaleToDpi(2, dpi))) << "letters moved or doubled";
                // The mark reaches the end of the middle part.
                rz::SelectGuard font(plain->Canvas(), search.Font());
                const std::string caption(c.caption);
                const std::string upTo = caption.substr(0, caption.find(c.middle) + std::strlen(c.middle));
                const int end = search.Scaled(rz::SearchLayout::kTextLeft) + rz::CanvasTextExtent(plain->Canvas(), upTo).cx;
                EXPECT_NEAR(right, end - 1, rz::ScaleToDpi(1, dpi));
            }
        }
}

}  // namespace

// What the e2e keyboard rounds do not reach: running as administrator, the
// command line, Properties, and rows that have no item to act on.
TEST_F(SearchWindowTest, ItemKeysAndTheActionMenuActOnTheSelectedItemOnly) {
    rztest::TempDir dir;
    ::SetEnvironmentVariableA("RZT_SEARCH_DIR", dir.Path().c_str());
    store().AddLaunchItem(rz::ItemKind::ExeLnk, "%RZT_SEARCH_DIR%tool.exe", "-a b", nullptr, parts.PMItems.Items(), 2,
                          "Toolbox");
    rz::ItemActions actions{parts};
    search.actions = &actions;
    std::string got;
    rz::RunShell.Replace([&](const rz::ShellRequest& r) {
        got = r.verb + " " + r.file + "|" + r.parameters;
        return 0ul;
    });
    const std::string tool = dir / "tool.exe";
    struct Case {
        const char* query;
        std::vector<int> held;
        UINT msg;
        WPARAM key;
        char menuLetter;  // chosen in the action menu; 0: no menu
        std::string result;
    } cases[] = {
        {"toolbox", {VK_CONTROL, VK_SHIFT}, WM_KEYDOWN, VK_RETURN, 0, "runas " + tool + "|-a b"},
        {"toolbox", {VK_CONTROL, VK_SHIFT}, WM_KEYDOWN, 'C', 0, "clipboard " + tool + " -a b"},
        {"toolbox", {VK_SHIFT}, WM_SYSKEYDOWN, VK_F10, 'r', "properties " + tool + "|"},
        {"toolbox", {}, WM_KEYDOWN, VK_APPS, 'a', "runas " + tool + "|-a b"},
        // A folder's row and the program's own have no item to act on.
        {"tools", {VK_CONTROL}, WM_KEYDOWN, VK_RETURN, 0, ""},
        {"website", {}, WM_KEYDOWN, VK_APPS, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.query) + " key " + std::to_string(c.key) + " letter " + c.menuLetter);
        search.OpenAt(POINT{10, 10}, c.query);
        ASSERT_FALSE(search.Results().empty());
        {
            rz::OpenedClipboard clipboard(nullptr);
            ::EmptyClipboard();
        }
        got.clear();
        int ticks = 0;
        rz::TTimer chooser("Chooser");
        chooser.SetInterval(30);
        chooser.OnTimer = [&](rz::TObject*) {
            if (rz::TPopupMenu::Current() && ++ticks == 2)
                ::PostMessageA(search.Handle(), WM_CHAR, static_cast<WPARAM>(c.menuLetter), 0);
        };
        chooser.SetEnabled(c.menuLetter != 0);
        {
            HeldKeys held(c.held);
            ::SendMessageA(search.EditSearch.Handle(), c.msg, c.key, 0);
        }
        chooser.SetEnabled(false);
        const std::wstring copied = rz::ClipboardText(nullptr, 4096);
        if (!copied.empty()) got = "clipboard " + rz::FromUtf16(copied);
        EXPECT_EQ(got, c.result);
        EXPECT_EQ(search.Visible(), c.result.empty()) << "an action closes the window";
        search.Hide();
    }
    rz::RunShell.Restore();
}
