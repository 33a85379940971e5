#pragma once
// The search window: a box to type into over a list of the launcher menu's
// items that match, best first. It opens in place of the menu when a typed
// character answers no entry, or from its own hotkey, and launches a row
// exactly as choosing the entry in the menu would.

#include <functional>
#include <string>
#include <vector>

#include "items/LauncherSearch.h"
#include "platform/Control.h"
#include "platform/Form.h"
#include "platform/StdControls.h"

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
};

// The box keeps the focus; the keys that move, launch or close go to OnKey
// first, which answers whether it used them.
class TSearchBox : public TEdit {
public:
    explicit TSearchBox(std::string name) : TEdit(std::move(name)) {}
    void CreateWnd(HWND parent);
    std::function<bool(WORD key)> OnKey;

protected:
    bool WindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

// Rows painted by the form; the pointer selects a row and a click chooses it.
class TSearchList : public TControl {
public:
    explicit TSearchList(std::string name) : TControl(std::move(name)) {}
    void CreateWnd(HWND parent);
    int RowHeight = SearchLayout::kRowHeight;
    int Rows = 0;
    std::function<void(HDC dc, int row, const RECT& rect)> OnDrawRow;
    std::function<void(int row)> OnHoverRow;
    std::function<void(int row)> OnClickRow;
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

    // Shows the window with its top-left corner at a screen point, the box
    // holding text and the caret after it.
    void OpenAt(POINT at, const std::string& text);
    void OpenAtCursor();

    void EditSearchChange(TObject* sender);
    bool EditSearchKey(WORD key);
    void ListResultsClick(int row);
    // Closes the window, then starts the row's entry as the menu does.
    void LaunchRow(int row);

    // What the list shows, best first, and the selected row (-1: none).
    const std::vector<LauncherSearch::Result>& Results() const { return results_; }
    int Selected() const { return selected_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void DpiChanged() override;

private:
    void ApplyLook();
    void Refresh();
    void Arrange();
    void Select(int row);
    int ScreenRows() const;
    void DrawRow(HDC dc, int row, const RECT& rect);

    LauncherMenuParts& launcher_;
    LauncherSearch search_;
    std::vector<LauncherSearch::Result> results_;
    unsigned resultsFor_ = 0;
    int selected_ = -1;
    int editHeight_ = SearchLayout::kEditHeight;
    POINT anchor_{};
};

}  // namespace rz
