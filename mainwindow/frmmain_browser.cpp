// The main window's side of the icon browser: the callbacks the builders use,
// the page filler on the window's controls, the keyword list at start-up and
// the keyword search.
#include "frmmain.h"

#include "browserstate.h"
#include "dialogforms.h"
#include "libraryindex.h"
#include "librarysearch.h"
#include "listaccess.h"
#include "pageloaders.h"
#include "seam.h"
#include "state.h"
#include "zipcleanup.h"

namespace vm {

namespace {
} // namespace

void FrmMain::connectPager() {
    BrowserWindow& b = browserWindow;
    b = BrowserWindow{};
    b.form = this;
    b.pnlResult = &pnlResult;
    b.imlResult32 = &imlResult32;
    b.pnlStatusbar = &pnlStatusbar;
    b.pnlProgressBar = &pnlProgressBar;
    b.MessagePanel = MessagePanel;
    b.CountPanel = CountPanel;
    b.PagePanel = PagePanel;
    b.tmrLed = &tmrLed;
    b.pnlNav = &pnlNav;
    b.picSplitV = &picSplitV;
    b.picSplitH = &picSplitH;
    b.pnlToolbar = &pnlToolbar;
    b.pnlToolbarYour = &pnlToolbarYour;
    b.mnuFile = &mnuFile;
    b.mnuEdit = &mnuEdit;
    b.mnuView = &mnuView;
    b.mnuGo = &mnuGo;
    b.mnuRef = &mnuRef;
    b.mnuTools = &mnuTools;
    b.mnuHelp = &mnuHelp;
    b.mnuFavorite = &mnuFavorite;
    b.mnuGoBar = &mnuGoBar;
    b.mnuGoFirstPage = &mnuGoFirstPage;
    b.mnuGoPrevPage = &mnuGoPrevPage;
    b.mnuGoNextPage = &mnuGoNextPage;
    b.mnuGoLastPage = &mnuGoLastPage;
    b.mnuGoToPageNr = &mnuGoToPageNr;
    b.mnuGoBarToPageNr = &mnuGoBarToPageNr;

    pager_ = std::make_unique<PageFiller>(
        browserWindow, host,
        PageFillState{Entries, Paging, Busy, Keywords, UserRefs, Chunks, PageLoaders, ZipExtractions});
    pager_->BrowserAvailable = true;
    PageFiller& p = *pager_;
    mnuGoFirstPage.Click = [&p] { p.mnuGoFirstPage_Click(); };
    mnuGoPrevPage.Click = [&p] { p.mnuGoPrevPage_Click(); };
    mnuGoNextPage.Click = [&p] { p.mnuGoNextPage_Click(); };
    mnuGoLastPage.Click = [&p] { p.mnuGoLastPage_Click(); };
    mnuGoToPageNr(1).Click = [&p] { p.mnuGoToPageNr_Click(1); };
    mnuGoBarToPageNr(1).Click = [&p] { p.mnuGoBarToPageNr_Click(1); };
    pnlStatusbar.PanelClick = [&p](Panel& panel) { p.pnlStatusbar_PanelClick(panel); };
    host.showPage = [&p] { p.ShowNewList(); };
    host.setAbort = [&p](bool idle) { p.procSetAbort(idle); };
}

void FrmMain::connectBrowser() {
    host.setStatusText = [this](const std::string& t) { procSetStatusText(t); };
    host.setMessagePanel = [this](const std::string& t) { MessagePanel->SetText(t); };
    host.setCountPanel = [this](const std::string& t) { CountPanel->SetText(t); };
    host.setHourglass = [](bool on) { Screen::SetMousePointer(on ? vbHourglass : vbDefault); };
    host.doEvents = [] { DoEvents(); };
    host.YieldEvery = kWindowYieldEvery;
    host.clearResult = [this] { procClearResult(); };
    VM_ON(cmbSearch, Click);
    VM_ON(cmbSearch, KeyPress);
}

void FrmMain::browserStart() {
    ListOf<ComboBox> search(cmbSearch);
    ListOf<ComboBox> addSearch(frmAdd().cmbSearch);
    ListOf<ListBox> lstKey(frmKey().lstKey);
    procFillSearch(Keywords, UserRefs, KeywordLists{&search, &addSearch, &lstKey}, host);
}

void FrmMain::saveUserData() {
    ListOf<ListBox> lstKey(frmKey().lstKey);
    procSaveUserData(std::to_string(Keywords.IconSize), Keywords, UserRefs, &lstKey);
}

void FrmMain::cmbSearch_Click() {
    ListingScope listing(listingDepth);
    ListOf<ComboBox> search(cmbSearch);
    SearchContext ctx{Keywords, UserRefs, Entries, Paging, Busy, host, search, DoubleClick.SearchFav};
    procSearchVellumar(ctx);
}

void FrmMain::cmbSearch_KeyPress(int& KeyAscii) {
    if (KeyAscii != 13) return;
    KeyAscii = 0;
    ListingScope listing(listingDepth);
    ListOf<ComboBox> search(cmbSearch);
    SearchContext ctx{Keywords, UserRefs, Entries, Paging, Busy, host, search, DoubleClick.SearchFav};
    SearchTypedKeyword(ctx, cmbSearch.Text());
}


} // namespace vm
