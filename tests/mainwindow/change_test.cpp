// The main window's side of the change window, hidden: File > Change hands
// the selected result item over, Back to Group lists the group of the hand-over.
#include <windows.h>

#include <gtest/gtest.h>

#include "browserstate.h"
#include "commandstate.h"
#include "frmchange.h"
#include "frmmain.h"
#include "loadedwindow.h"
#include "registry.h"
#include "scratch.h"
#include "seam.h"
#include "selection.h"
#include "state.h"

using namespace vm;

namespace {

class ChangeHandOver : public mwtest::LoadedMainWindow {
protected:
    void TearDown() override {
        if (frmChange().IsLoaded()) frmChange().Unload();
        Commands = CommandModes{};
        Selection = SelectionState{};
        LoadedMainWindow::TearDown();
        Seam::get().setScripted(false);
    }
    ListItem& addItem(const std::string& text, const std::string& tag, const std::string& type,
                      const std::string& folder = "") {
        ListItem& item = w().pnlResult.ListItems.Add(-1, "", text);
        item.Tag = tag;
        item.SetSubItems(1, type);
        item.SetSubItems(2, folder);
        return item;
    }
};

} // namespace

TEST_F(ChangeHandOver, TheSelectedItemBecomesTheTarget) {
    w().lstChange.Clear();
    w().lstChange.AddItem("My Documents;mydocs.dll,0;HKEY_CURRENT_USER\\x");
    w().lstChange.AddItem("my computer;explorer.exe,0;HKEY_CURRENT_USER\\y");
    ListItem& item = addItem("My Computer #2", "explorer.exe;0", "System Icon");
    w().pnlResult.SetSelectedItem(&item);
    w().mnuFileChange_Click();
    FrmChange& c = frmChange();
    ASSERT_TRUE(c.IsLoaded());
    EXPECT_EQ(c.Caption(), "Change System Icon");
    EXPECT_EQ(c.lblTitle.Caption(), "My Computer");
    // "My Computer #2" is no row's first field: no location is taken.
    EXPECT_EQ(c.picImport.Tag, "");

    ListItem& shortcut = addItem("Notes", "n;0;c:\\notes.exe", "Shortcut Icon", "Desktop");
    w().pnlResult.SetSelectedItem(&shortcut);
    w().mnuFileChange_Click();
    EXPECT_EQ(c.Caption(), "Change Shortcut Icon");
    EXPECT_EQ(c.picImport.Tag, paths.WindowsDir + "\\Desktop\\Notes.lnk");
    EXPECT_EQ(c.picImportBack.Tag, "n;0;c:\\notes.exe");

    // Nothing selected: the window keeps its target.
    w().pnlResult.SetSelectedItem(nullptr);
    w().mnuFileChange_Click();
    EXPECT_EQ(c.Caption(), "Change Shortcut Icon");
}

TEST_F(ChangeHandOver, TheDropTakesTheSelectedItemsIcon) {
    ListItem& item = addItem("Arrow", "default;x;32512", "Current Cursor");
    w().pnlResult.SetSelectedItem(&item);
    w().mnuFileChange_Click();
    FrmChange& c = frmChange();
    EXPECT_EQ(c.picImport.Tag, "default;x;32512");
    EXPECT_TRUE(c.picIcon_OLEDragOver("Arrow"));
    EXPECT_FALSE(c.picIcon_OLEDragOver("arrow"));
    c.picIcon_OLEDragDrop("Arrow");
    EXPECT_EQ(c.picIcon.Tag, "default;x;32512");
    EXPECT_TRUE(c.applyEnabled());
}
