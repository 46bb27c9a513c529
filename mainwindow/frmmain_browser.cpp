// The main window's side of the icon browser: the callbacks the builders use,
// the keyword list at start-up and the keyword search.
#include "frmmain.h"

#include "browserstate.h"
#include "dialogforms.h"
#include "libraryindex.h"
#include "librarysearch.h"
#include "listaccess.h"
#include "state.h"

namespace vm {

void FrmMain::connectBrowser() {
    host.setStatusText = [this](const std::string& t) { procSetStatusText(t); };
    host.setMessagePanel = [this](const std::string& t) { MessagePanel->SetText(t); };
    host.setCountPanel = [this](const std::string& t) { CountPanel->SetText(t); };
    host.setHourglass = [](bool on) { Screen::SetMousePointer(on ? vbHourglass : vbDefault); };
    host.doEvents = [] { DoEvents(); };
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
    ListOf<ComboBox> search(cmbSearch);
    SearchContext ctx{Keywords, UserRefs, Entries, Paging, Busy, host, search, DoubleClick.SearchFav};
    procSearchVellumar(ctx);
}

void FrmMain::cmbSearch_KeyPress(int& KeyAscii) {
    if (KeyAscii != 13) return;
    KeyAscii = 0;
    ListOf<ComboBox> search(cmbSearch);
    SearchContext ctx{Keywords, UserRefs, Entries, Paging, Busy, host, search, DoubleClick.SearchFav};
    SearchTypedKeyword(ctx, cmbSearch.Text());
}

} // namespace vm
