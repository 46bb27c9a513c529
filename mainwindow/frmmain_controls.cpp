// The main window's controls: created once per load, in the places of the
// designed window; Form_Load and the layout move them to their stored places.
#include "frmmain.h"

#include "glyphs.h"
#include "inputlimits.h"

namespace vm {

namespace {

struct ButtonDef {
    const char* key;
    const char* label;
    const char* toolTip;
    const char* description;
    int picture;
    int style;
};

// "" marks a separator between button groups.
const ButtonDef kStandardButtons[] = {
    {"firstpage", "First", "First Page", "First Page", 1, tbrDefault},
    {"prevpage", "Previous", "Previous Page", "Previous Page", 2, tbrDefault},
    {"nextpage", "Next", "Next Page", "Next Page", 3, tbrDefault},
    {"lastpage", "Last", "Last Page", "Last Page", 4, tbrDefault},
    {"", "", "", "", 0, tbrSeparator},
    {"abort", "Stop", "Stop", "Stop", 11, tbrDefault},
    {"", "", "", "", 0, tbrSeparator},
    {"open", "Open", "Open", "Open", 6, tbrDropdown},
    {"save", "Save As", "Save As", "Save As", 5, tbrDefault},
    {"copy", "Copy", "Copy", "Copy", 7, tbrDefault},
    {"", "", "", "", 0, tbrSeparator},
    {"play", "Play", "Play", "Play Animated Icon", 10, tbrDefault},
    {"prop", "Properties", "Properties", "Properties", 8, tbrDefault},
    {"view", "Views", "Views", "View", 9, tbrDropdown},
    {"zoom", "Zoom", "Zoom", "Zoom", 16, tbrDropdown},
    {"", "", "", "", 0, tbrSeparator},
    {"create", "Create", "Brallix", "Brallix", 17, tbrDefault},
    {"help", "Help", "Help", "Help", 18, tbrDefault},
    {"close", "Exit", "Exit", "Exit Vellumar", 19, tbrDefault},
};

const ButtonDef kYourButtons[] = {
    {"change", "Change", "Change Icon", "Change Icon", 27, tbrDefault},
    {"changefolder", "Change...", "Change Any Folder Icon", "Change Any Folder Icon", 28, tbrDefault},
    {"", "", "", "", 0, tbrSeparator},
    {"favadd", "Add", "Add to Favorites", "Add to Favorites", 21, tbrDefault},
    {"favdel", "Delete", "Delete Favorite", "Delete Favorite", 22, tbrDefault},
    {"favgroupadd", "Create", "Create Favorite Folder", "Create Favorite Folder", 25, tbrDefault},
    {"favgroupdel", "Remove", "Remove Favorite Folder", "Remove Favorite Folder", 26, tbrDefault},
    {"favedit", "Edit", "Edit Favorites", "Edit Favorites with Explorer", 23, tbrDefault},
    {"favrefresh", "Refresh", "Refresh Favorites Groups", "Refresh Favorite Groups", 24, tbrDefault},
    {"", "", "", "", 0, tbrSeparator},
    {"refadd", "Add", "Add Reference", "Add Reference", 14, tbrDefault},
    {"refdel", "Delete", "Delete Reference", "Delete Reference", 15, tbrDefault},
    {"refedit", "Edit", "Edit Reference Keywords", "Edit Reference Keywords", 20, tbrDefault},
};

template <size_t N>
void addButtons(Toolbar& bar, const ButtonDef (&defs)[N]) {
    for (const ButtonDef& d : defs) {
        ToolbarButton& b = bar.Buttons.Add(-1, d.key, d.label, d.style);
        b.Tag = d.label;
        b.SetToolTipText(d.toolTip);
        b.Description = d.description;
    }
}

void addGlyphs(ImageList& list, int size, bool grey) {
    list.SetMaskColor(mainwindow::kGlyphKey);
    for (int n = 1; n <= mainwindow::kToolbarGlyphs; ++n)
        list.ListImages.Add(-1, "", mainwindow::drawGlyph(mainwindow::toolbarGlyphKey(n), size, grey));
}

template <size_t N>
void setPictures(Toolbar& bar, const ButtonDef (&defs)[N]) {
    for (const ButtonDef& d : defs)
        if (*d.key) bar.Buttons(d.key).SetImage(d.picture);
}

} // namespace

void FrmMain::applyToolbarPictures() {
    for (Toolbar* bar : {&pnlToolbar, &pnlToolbarYour}) {
        bar->SetHotImageList(&imlToolbarHot);
        bar->SetImageList(&imlToolbarGrey);
    }
    setPictures(pnlToolbar, kStandardButtons);
    setPictures(pnlToolbarYour, kYourButtons);
}

void FrmMain::createFrame() {
    if (imlToolbarGrey.ListImages.Count() == 0) {
        addGlyphs(imlToolbarGrey, 16, true);
        addGlyphs(imlToolbarHot, 16, false);
        imlNav.SetMaskColor(mainwindow::kGlyphKey);
        for (int i = 0; i < mainwindow::kNavGlyphCount; ++i)
            imlNav.ListImages.Add(-1, mainwindow::kNavGlyphKeys[i],
                                  mainwindow::drawGlyph(mainwindow::kNavGlyphKeys[i], 16, false));
    }

    pnlCoolBar.create(*this);
    pnlToolbar.create(pnlCoolBar);
    addButtons(pnlToolbar, kStandardButtons);
    // Stop only acts while work runs; the busy state enables it.
    pnlToolbar.Buttons("abort").SetEnabled(false);
    ButtonMenuCollection& open = pnlToolbar.Buttons("open").ButtonMenus;
    open.Add(-1, "openfile", "by File...");
    open.Add(-1, "opendir", "by Folder...");
    ButtonMenuCollection& view = pnlToolbar.Buttons("view").ButtonMenus;
    view.Add(-1, "viewlarge", "Large Icons");
    view.Add(-1, "viewlist", "List");
    view.Add(-1, "viewdetails", "Details");
    ButtonMenuCollection& zoom = pnlToolbar.Buttons("zoom").ButtonMenus;
    for (auto [key, text] : {std::pair{"zoom2", "2:1"}, {"zoom3", "3:1"}, {"zoom4", "4:1"}, {"zoom5", "5:1"},
                             {"zoom10", "10:1"}})
        zoom.Add(-1, key, text);
    pnlToolbarYour.create(pnlCoolBar);
    addButtons(pnlToolbarYour, kYourButtons);

    cmbMode.create(pnlCoolBar, 0, 0, 1500, 2000, vbComboDropdownList);
    cmbMode.AddItem("16 x 16");
    cmbMode.SetItemData(cmbMode.NewIndex(), 16);
    cmbMode.AddItem("32 x 32");
    cmbMode.SetItemData(cmbMode.NewIndex(), 32);
    cmbSearch.create(pnlCoolBar, 0, 0, 3600, 4000, vbComboDropdown);
    LimitInput(cmbSearch, kMaxKeywordLength, "A keyword");

    pnlCoolBar.Bands.Add(-1, "standard", "", &pnlToolbar, true);
    pnlCoolBar.Bands.Add(-1, "your", "", &pnlToolbarYour, true);
    pnlCoolBar.Bands.Add(-1, "mode", "Size", &cmbMode, true);
    pnlCoolBar.Bands.Add(-1, "keyword", "Keyword", &cmbSearch, true);

    // Designed places; the layout moves them once the cool bar has its height.
    const int px = TwipsPerPixelX(), py = TwipsPerPixelY();
    pnlNav.create(*this, 0, 0, 200 * px, 300 * py);
    pnlNav.SetImageList(&imlNav);
    grdIcons.create(*this, 0, 304 * py, 200 * px, 100 * py);
    pnlResult.create(*this, 204 * px, 0, 400 * px, 300 * py, lvwIcon);
    pnlDummy.create(*this, 204 * px, 0, 400 * px, 300 * py, lvwIcon);
    for (ListView* list : {&pnlResult, &pnlDummy}) {
        list->ColumnHeaders.Add(-1, "name", "Name", 2400);
        list->ColumnHeaders.Add(-1, "type", "Type", 2000);
        list->ColumnHeaders.Add(-1, "origin", "Origin", 4000);
        list->SetIcons(&imlResult32);
        list->SetSmallIcons(&imlNav);
    }
    pnlDummy.SetVisible(false);
    // The bars lie under the panes: only the gap between the panes shows. The
    // vertical bar reaches under the whole column, so the horizontal one lies
    // above it, or its gap would show the vertical bar.
    picSplitV.create(*this, 0, 0, 204 * px, 300 * py, false);
    picSplitH.create(*this, 0, 0, 200 * px, 300 * py, false);
    picSplitH.ZOrder(1);
    picSplitV.ZOrder(1);

    pnlStatusbar.create(*this);
    Panel& message = pnlStatusbar.Panels.Add(-1, "message");
    message.SetAutoSize(sbrSpring);
    pnlStatusbar.Panels.Add(-1, "count").SetWidth(2000);
    pnlStatusbar.Panels.Add(-1, "area").SetWidth(1500);
    pnlStatusbar.Panels.Add(-1, "type").SetWidth(2400);
    pnlProgressBar.create(*this, 0, 0, 1500, 15 * py);
    pnlProgressBar.SetVisible(false);

    for (PictureBox* box : {&picOpen, &picNoIcon}) {
        box->create(*this, 0, 0, 32 * px, 32 * py, false);
        box->SetVisible(false);
    }
    tmrLed.create(*this, 1500, false);
}

} // namespace vm
