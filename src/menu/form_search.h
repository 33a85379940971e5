#pragma once
// The search window: a box to type into over a list of the launcher menu's
// items that match, best first. It opens in place of the menu when a typed
// character answers no entry, or from its own hotkey, and launches a row
// exactly as choosing the entry in the menu would.

#include <functional>
#include <string>
#include <vector>

#include "items/LauncherSearch.h"
#include "menu/ItemActions.h"
#include "platform/Control.h"
#include "platform/Form.h"
#include "platform/Handles.h"

namespace rz {

class LauncherMenuParts;

// Sizes at 96 DPI, in one place for the scaling routine.
struct SearchLayout {
    static constexpr int kWidth = 420;
    static constexpr int kEditHeight = 22;
    static constexpr int kRowHeight = 19;  // the menu's entry height
    static constexpr int kIconLeft = 2;
    static constexpr int kIconCell = 20;
    static constexpr int kTextLeft = 23;
    static constexpr int kFolderGap = 16;
    static constexpr int kTextRight = 6;
    static constexpr int kMinFolderWidth = 40;
    static constexpr int kScrollMark = 3;
    // Rows the list shows at most; the rest are a scroll away.
    static constexpr int kRows = 10;
};

// The box keeps the focus. A Unicode window, so that letters of any script
// arrive whole; the keys that move, launch or close go to OnKey first,
// which answers whether it used them, and Enter and Esc are claimed from the
// dialog keys of the message loop.
class TSearchBox : public TControl {
public:
    explicit TSearchBox(std::string name) : TControl(std::move(name)) {}
    void CreateWnd(HWND parent);
    std::string Text() const;
    // Sets the text without raising OnChange and puts the caret after it.
    void SetText(const std::string& text);

    std::function<bool(WORD key)> OnKey;
    std::function<void(int wheelDelta)> OnWheel;
    TNotifyEvent OnChange;
    bool OnCommand(WORD code) override;

    // Longer queries are cut here: no item is named that long.
    static constexpr int kMaxLetters = 255;

protected:
    bool WindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void PasteAsOneLine();
    bool settingText_ = false;
    // The character of a key OnKey used is not typed.
    WPARAM unusedChar_ = 0;
};

// Rows painted by the form: Rows of the results from Top on, then a line for
// Note if it is not empty. The pointer selects a row and a click chooses it.
class TSearchList : public TControl {
public:
    explicit TSearchList(std::string name) : TControl(std::move(name)) {}
    void CreateWnd(HWND parent);
    int RowHeight = SearchLayout::kRowHeight;
    int Top = 0;
    int Rows = 0;
    std::string Note;
    std::function<void(HDC dc, int row, const RECT& rect)> OnDrawRow;
    std::function<void(HDC dc, const RECT& rows, const RECT& note)> OnDrawRest;
    std::function<void(int row)> OnHoverRow;
    std::function<void(int row)> OnClickRow;
    // A right click on a row, with the screen point.
    std::function<void(int row, POINT at)> OnRightClickRow;
    std::function<void(int wheelDelta)> OnWheel;
    void InvalidateRow(int row);

protected:
    bool WindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    int RowAt(LPARAM lp) const;
};

class TFormSearch : public TForm {
public:
    // Hooks itself to the launcher menu for typed characters until destroyed.
    explicit TFormSearch(LauncherMenuParts& launcher);
    ~TFormSearch() override;
    TFormSearch(const TFormSearch&) = delete;
    TFormSearch& operator=(const TFormSearch&) = delete;

    TSearchBox EditSearch{"EditSearch"};
    TSearchList ListResults{"ListResults"};

    // Shows the window at a screen point, below it or, where the work area
    // has no room for the whole list there, above it; the box holds text
    // with the caret after it. The box stays where it opened while the user
    // types.
    void OpenAt(POINT at, const std::string& text);
    void OpenAtCursor();

    void EditSearchChange(TObject* sender);
    bool EditSearchKey(WORD key);
    void ListResultsClick(int row);
    // Closes the window, then starts the row's entry as the menu does; a
    // folder's row opens that folder where the window was.
    void LaunchRow(int row);
    // Shows a folder of the launcher menu at a screen point; the application wires it.
    std::function<void(TMenuItem& folder, POINT at)> OnOpenFolder;
    // Closes the window and carries out action on the row's item; a row of
    // a folder or of the program's own entries has none.
    void ActOnRow(int row, ItemAction action);
    // The action menu of the row's item at a screen point.
    void ShowRowMenu(int row, POINT at);
    // What a result's item allows besides choosing it; the application wires it.
    ItemActions* actions = nullptr;

    // The results made so far, best first (more are made as the list
    // scrolls to them), how many match in all, the selected row (-1: none)
    // and the first row in view.
    const std::vector<LauncherSearch::Result>& Results() const { return results_; }
    size_t Total() const { return total_; }
    int Selected() const { return selected_; }
    int TopRow() const { return ListResults.Top; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void DpiChanged() override;

private:
    void ApplyLook();
    void Refresh();
    void Place(POINT at);
    void Arrange();
    void Select(int row);
    void ScrollTo(int top);
    void MakeResults(size_t count);
    void DrawRow(HDC dc, int row, const RECT& rect);
    void DrawRest(HDC dc, const RECT& rows, const RECT& note);
    // The item entry of a row that is up to date, or null.
    TMenuItem* ItemOfRow(int row);
    bool ItemKey(WORD key);
    POINT BelowRow(int row) const;

    LauncherMenuParts& launcher_;
    LauncherSearch search_;
    std::string query_;
    std::vector<LauncherSearch::Result> results_;
    size_t total_ = 0;
    unsigned resultsFor_ = 0;
    int selected_ = -1;
    int editHeight_ = SearchLayout::kEditHeight;
    // Where the box stays: the window's top edge, or its bottom edge when it
    // opened above its point.
    POINT anchor_{};
    bool above_ = false;
};

// Text on one line in where, vertically centred, in the canvas's font and
// text colour: cut with "..." where it is too wide, and the byte ranges of
// marked underlined with ink, thickness pixels, at the very places its
// characters were measured and drawn.
void DrawMarkedLine(HDC dc, const std::string& text, const RECT& where,
                    const std::vector<std::pair<size_t, size_t>>& marked, HBRUSH ink, int thickness);

}  // namespace rz
