#pragma once
// A tree view that reports files dropped on it from the shell, one event
// per file in the drop's order, then one when the drop is done.

#include <functional>
#include <string>

#include <windows.h>
#include <shellapi.h>

#include "platform/TreeView.h"

namespace rz {

using TDockedEvent = std::function<void(TObject* sender, const std::string& fullPath, const POINT& mouseXY)>;

class TcvWinTreeView : public TTreeView {
public:
    explicit TcvWinTreeView(std::string name = {}) : TTreeView(std::move(name)) {}

    // Creates the window and registers it as a drop target, once.
    void CreateWnd(HWND parent, DWORD extraStyle = 0);

    TDockedEvent OnDropFiles;
    TNotifyEvent OnDropFilesDone;

protected:
    void Loaded();
    bool WindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void DropFiles(HDROP drop);
    void ReportFiles(HDROP drop);
};

}  // namespace rz
