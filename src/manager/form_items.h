#pragma once
// The item manager window. It also owns the launcher menu, its template, the
// two icon lists and the hidden tree views, and with them the item store.

#include <functional>
#include <memory>

#include "items/ItemStore.h"
#include "platform/Form.h"
#include "platform/ImageList.h"
#include "platform/Menu.h"
#include "platform/TreeView.h"

namespace rz {

class TFormItems : public TForm {
public:
    TFormItems();
    ~TFormItems() override;

    TTreeView TVItems{"TVItems"};
    TTreeView TVUndo{"TVUndo"};
    TTreeView TVBasic{"TVBasic"};
    TPopupMenu PMItems{"PMItems"};
    TPopupMenu PMBasic{"PMBasic"};
    TImageList ILAllPublicPM{"ILAllPublicPM", 16, 16};
    TImageList ILAllPublicTV{"ILAllPublicTV", 16, 18};
    std::unique_ptr<ItemStore> store;

    // The handlers of the launcher menu's fixed entries.
    void miManageItemsClick(TObject* sender);
    void SetupClick(TObject* sender);
    void miHelpFileClick(TObject* sender);
    void miVisitWebsiteClick(TObject* sender);
    void miAboutClick(TObject* sender);
    void miCloseAppClick(TObject* sender);
    // What "Close" runs: the program's orderly end.
    std::function<void()> closeApplication;

private:
    void BuildBasicTree();
    void BuildBasicMenu();
};

extern TFormItems* FormItems;

}  // namespace rz
