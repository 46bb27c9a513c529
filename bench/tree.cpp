// Times the navigation tree: building it for the 32 x 32 data set with 3,000
// keywords (100 of them groups), 3 cursor schemes and a favourites tree of 60
// folders; then a click on a favourites folder of 2,000 icons until its first
// page of 150 icons shows, through the opened-files lister and the page
// filler as the main window wires them. Run under Wine:
//   wine bench_tree.exe > log 2>&1
#include <windows.h>
#include <objbase.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "benchtime.h"
#include "form.h"
#include "ico_fixtures.h"
#include "navtree.h"
#include "nodedispatch.h"
#include "opensearch.h"
#include "pagefiller.h"
#include "scratch.h"
#include "state.h"

using namespace vm;

namespace {

using bench::Clock;
using bench::msSince;


class FrmBench : public Form {
public:
    FrmBench() : Form("frmBench") {}
    TreeView pnlNav{this};
    ListView pnlResult{this}, pnlDummy{this};
    ImageList imlResult32;
    StatusBar pnlStatusbar{this};

protected:
    void CreateControls() override {
        pnlNav.create(*this, 0, 0, 4000, 6000);
        for (ListView* view : {&pnlResult, &pnlDummy}) {
            view->create(*this, 4000, 0, 8000, 6000, lvwIcon);
            for (const char* c : {"Name", "Type", "Origin"}) view->ColumnHeaders.Add(-1, "", c, 1500);
        }
        pnlStatusbar.create(*this);
        for (const char* key : {"message", "count", "area"}) pnlStatusbar.Panels.Add(-1, key);
        imlResult32.SetImageWidth(32);
        imlResult32.SetImageHeight(32);
    }
};

} // namespace

int main() {
    CoInitialize(nullptr);
    vmtest::ScratchDir dir;
    const std::string home = dir.file("Favorites");
    CreateDirectoryA(home.c_str(), nullptr);
    for (int i = 0; i < 20; ++i) {
        const std::string group = home + "\\Group " + std::to_string(i);
        CreateDirectoryA(group.c_str(), nullptr);
        CreateDirectoryA((group + "\\Small").c_str(), nullptr);
        CreateDirectoryA((group + "\\Small\\Smaller").c_str(), nullptr);
    }
    const std::string big = home + "\\Big";
    CreateDirectoryA(big.c_str(), nullptr);
    const std::string icon = vmtest::ico::icoFile({vmtest::ico::dib(32, 32, 8, 1), vmtest::ico::dib(16, 16, 4, 2)});
    for (int i = 0; i < 2000; ++i) vmtest::writeFile(big + "\\icon" + std::to_string(i) + ".ico", icon);
    std::printf("FAVORITES %s\n", big.c_str());

    HKEY key;
    RegCreateKeyExA(HKEY_CURRENT_USER, kCursorSchemesKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    for (const char* scheme : {"Bench A", "Bench B", "Bench C"})
        RegSetValueExA(key, scheme, 0, REG_SZ, reinterpret_cast<const BYTE*>("a.cur,b.cur"), 12);
    RegCloseKey(key);

    FrmBench form;
    form.Load();
    HiddenList keywordList;
    for (int k = 0; k < 3000; ++k) keywordList.AddItem((k % 30 == 0 ? "group " : "keyword") + std::to_string(k));
    ListOf<HiddenList> keywords(keywordList);
    BrowserHost host;
    host.doEvents = [] { DoEvents(); };
    host.YieldEvery = kWindowYieldEvery;

    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        const auto start = Clock::now();
        TreeBuild build{form.pnlNav, keywords, host, "Vellumar", 32, home, "Favorites"};
        procBuildTree(build);
        best = std::min(best, msSince(start));
    }
    std::printf("tree build (%d nodes): %.1f ms (best of 5)\n", form.pnlNav.Nodes.Count(), best);

    BrowserWindow window;
    window.form = &form;
    window.pnlResult = &form.pnlResult;
    window.imlResult32 = &form.imlResult32;
    window.pnlStatusbar = &form.pnlStatusbar;
    window.MessagePanel = &form.pnlStatusbar.Panels("message");
    window.CountPanel = &form.pnlStatusbar.Panels("count");
    window.PagePanel = &form.pnlStatusbar.Panels("area");
    host.clearResult = [&] {
        form.pnlResult.ListItems.Clear();
        form.imlResult32.ListImages.Clear();
    };
    PageFiller pager(window, host, {Entries, Paging, Busy, Keywords, UserRefs, Chunks, PageLoaders, ZipExtractions});
    double pageMs = 0, handOverMs = 0;
    Clock::time_point clickStart;
    host.showPage = [&] {
        const auto pageStart = Clock::now();
        pager.ShowNewList();
        pageMs = msSince(pageStart);
    };
    host.setAbort = [&](bool idle) { pager.procSetAbort(idle); };
    Keywords.IconSize = 32;
    PageLoaders.FavoritesFolder = home;

    NodeSources sources;
    HiddenList lstChange;
    FavoriteNodes favorites;
    bool searching = false;
    sources.searchOpen = [&] {
        handOverMs = msSince(clickStart);
        OpenSearchContext ctx{Entries, Paging, Busy, host, Chunks, ZipExtractions};
        ctx.SearchingFavorites = searching;
        procSearchOpen(ctx);
    };
    SearchContext search{Keywords, UserRefs, Entries, Paging, Busy, host, keywords};
    NodeClickContext ctx{search, sources, lstChange, favorites, searching, home, "2000", "c:\\windows",
                         "c:\\windows\\system32", nullptr, nullptr};
    for (int pass = 1; pass <= 2; ++pass) {
        clickStart = Clock::now();
        procNodeClick(ctx, {"favoriBig", "", false});
        if (pass == 2) std::printf("RESULT favorites %.1f\n", msSince(clickStart));
        std::printf("favourites folder of %d icons, pass %d: %.1f ms to its first page (walk and filter %.1f ms, "
                    "the page itself %.1f ms; %d entries, %d items, origin %s)\n",
                    Entries.lstFiles.ListCount(), pass, msSince(clickStart), handOverMs, pageMs, Entries.cmbResult.ListCount(),
                    form.pnlResult.ListItems.Count(),
                    form.pnlResult.ListItems.Count() ? form.pnlResult.ListItems(1).SubItems(2).c_str() : "-");
    }

    if (RegOpenKeyExA(HKEY_CURRENT_USER, kCursorSchemesKey, 0, KEY_WRITE, &key) == ERROR_SUCCESS) {
        for (const char* scheme : {"Bench A", "Bench B", "Bench C"}) RegDeleteValueA(key, scheme);
        RegCloseKey(key);
    }
    form.Unload();
    return 0;
}
