#pragma once
// The five real forms around a temporary data folder, with every message box
// answered by the test.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "core/AppData.h"
#include "app/Forms.h"
#include "app/InitFinit.h"
#include "manager/form_items.h"
#include "platform/Application.h"
#include "platform/MessageBox.h"

namespace rztest {

struct ShownBox {
    std::string text;
    std::string caption;
    UINT flags;
};

class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        rz::ShowMessageBox.Replace([this](HWND, const std::string& t, const std::string& c, UINT f) {
            boxes.push_back({t, c, f});
            return answer;
        });
        rz::OverrideDataFolder(dir.Path());
        rz::App.dataFolder = dir.Path();
        rz::CreateForms();
    }
    void TearDown() override {
        rz::DestroyForms();
        rz::ShowMessageBox.Restore();
        rz::Application.ResetTerminated();
    }
    void WriteStore(const std::string& folder, const std::string& list) {
        MakeDir(dir / folder);
        WriteFile(dir / (folder + "\\shortcuts.txt"), list);
    }
    std::vector<std::string> TopCaptions() const {
        std::vector<std::string> out;
        const rz::TMenuItem& root = rz::FormItems().PMItems.Items();
        for (int i = 0; i + 3 < root.Count(); ++i) out.push_back(root.Items(i)->Caption);
        return out;
    }

    TempDir dir;
    std::vector<ShownBox> boxes;
    int answer = IDOK;
};

}  // namespace rztest
