// Adding entries: the add type with its parked texts, Find through the open
// dialog or the folder browser, and Attach of separators, folders,
// directories and files directly after the selection.

#include <exception>

#include "core/Launching.h"
#include "core/Settings.h"
#include "manager/FolderRules.h"
#include "manager/ShellTarget.h"
#include "manager/TypedText.h"
#include "manager/form_items.h"
#include "support/UcvCallExternal.h"
#include "support/UcvSysStr.h"

namespace rz {

namespace {

std::string FileLabel(const std::string& path) {
    return "Item (" + LowerCase(ExtWithoutDot(FileExtension(path))) + ") Text";
}

constexpr char kDirectoryLabel[] = "Item (directory) Text";

}  // namespace

TRadioButton& TFormItems::AddTypeButton(AddType type) {
    TRadioButton* buttons[kAddTypeCount] = {&RBFile, &RBFileDirectory, &RBSeparator, &RBFolder};
    return *buttons[type];
}

TFormItems::AddType TFormItems::CheckedAddType() const {
    if (RBFileDirectory.Checked()) return kAddDirectory;
    if (RBSeparator.Checked()) return kAddSeparator;
    if (RBFolder.Checked()) return kAddFolder;
    return kAddFile;
}

void TFormItems::OfferAttach(const std::string& label, const std::string& text) {
    BitBtnAttach.Tag = 1;
    TTreeNode* sel = TVItems.Selected();
    if (sel && !IsSystemEntry(sel)) BitBtnAttach.SetEnabled(true);
    LabelItemText.SetCaption(label);
    MemoAddName.SetText(text);
}

void TFormItems::RBFolderEnter(TObject* sender) {
    int entered = 0;
    while (entered < kAddTypeCount && &AddTypeButton(static_cast<AddType>(entered)) != sender) ++entered;
    if (entered == kAddTypeCount || AddTypeButton(static_cast<AddType>(entered)).Checked()) return;
    const AddType left = CheckedAddType();
    // A file's or directory's text lives only as long as what it names.
    const bool keep = left == kAddFile        ? !pendingFile_.empty()
                      : left == kAddDirectory ? !pendingDirectory_.empty()
                                              : true;
    parkedTexts_[left] = keep ? MemoAddName.Text() : std::string();
    AddTypeButton(left).SetChecked(false);
    AddTypeButton(static_cast<AddType>(entered)).SetChecked(true);

    BitBtnFind.SetEnabled(entered == kAddFile || entered == kAddDirectory);
    const std::string& pending = entered == kAddFile ? pendingFile_ : pendingDirectory_;
    switch (entered) {
        case kAddSeparator: OfferAttach("Item (Separator) Text", parkedTexts_[kAddSeparator]); break;
        case kAddFolder: OfferAttach("Item (Folder) Text", parkedTexts_[kAddFolder]); break;
        default:
            if (!pending.empty()) {
                OfferAttach(entered == kAddFile ? FileLabel(pending) : kDirectoryLabel, parkedTexts_[entered]);
            } else {
                BitBtnAttach.SetEnabled(false);
                BitBtnAttach.Tag = 0;
                LabelItemText.SetCaption("Item Text");
                MemoAddName.SetText("");
            }
    }
}

void TFormItems::BitBtnFindClick(TObject*) {
    if (RBFile.Checked()) FindFile();
    else if (RBFileDirectory.Checked()) FindDirectory();
    if (!Settings.WindowsDraw) FormPaint(this);
    // At the entry the new item will follow.
    FocusTree();
}

void TFormItems::FindFile() {
    try {
        if (!OpenDialogAdd.Execute(Handle())) return;
        const std::string path = OpenDialogAdd.FileName;
        BitBtnAttach.Tag = 1;
        pendingFile_ = path;
        MemoAddName.SetText(LinkCaption(path, false));
        LabelItemText.SetCaption(FileLabel(path));
        RefreshButtons();
    } catch (const std::exception&) {
        // The panel keeps what was set before the failure; nothing is added.
    }
}

void TFormItems::FindDirectory() {
    std::string directory;
    if (!ChooseFolder(kPromptDirectory, directory)) return;
    BitBtnAttach.Tag = 1;
    pendingDirectory_ = directory;
    MemoAddName.SetText(LinkCaption(directory, true));
    LabelItemText.SetCaption(kDirectoryLabel);
    RefreshButtons();
}

void TFormItems::BitBtnAttachClick(TObject*) {
    const std::string text = WithoutDelimiters(MemoAddName.Text());
    MemoAddName.SetText(text);
    TTreeNode* sel = TVItems.Selected();
    // After a system entry, or with nothing selected, the entry would land
    // where no save ever reaches it.
    if (!sel || IsSystemEntry(sel)) return;
    TTreeNode* added = nullptr;
    switch (CheckedAddType()) {
        case kAddSeparator: added = AttachSeparator(sel, text); break;
        case kAddFolder: added = AttachFolder(sel, text); break;
        case kAddDirectory: added = AttachLink(sel, text, true); break;
        default: added = AttachLink(sel, text, false); break;
    }
    if (!added) return;
    TVItems.Select(added);
    if (BitBtnAttach.Tag == 0) BitBtnAttach.SetEnabled(false);
    LabelItemText.SetCaption("Item Text");
    MemoAddName.SetText("");
    // The keys go on in the tree, at the new entry.
    FocusTree();
}

TTreeNode* TFormItems::AttachSeparator(TTreeNode* after, const std::string& text) {
    parkedTexts_[kAddSeparator].clear();
    return commands.AddSeparator(after, text);
}

TTreeNode* TFormItems::AttachFolder(TTreeNode* after, const std::string& text) {
    const std::string name = TrimName(text);
    if (const char* refusal = FolderNameRefusal(name, after, true)) {
        PlaySystemSound(kSoundRefused);
        StatusMessage(refusal);
        return nullptr;
    }
    TTreeNode* folder = commands.AddFolder(after, name);
    parkedTexts_[kAddFolder].clear();
    return folder;
}

TTreeNode* TFormItems::AttachLink(TTreeNode* after, const std::string& text, bool directory) {
    std::string& pending = directory ? pendingDirectory_ : pendingFile_;
    if (pending.empty()) return nullptr;
    ShellTarget target;
    target.path = pending;
    target.directory = directory;
    // A directory's extension is empty, whatever its name.
    if (!directory) target.extension = FileExtension(pending);
    TTreeNode* entry = commands.AddLink(after, target, text);
    BitBtnAttach.Tag = 0;
    pending.clear();
    parkedTexts_[directory ? kAddDirectory : kAddFile].clear();
    return entry;
}

}  // namespace rz
