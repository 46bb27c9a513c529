// Times the navigation tree: building it for the 32 x 32 data set with 3,000
// keywords (100 of them groups), 3 cursor schemes and a favourites tree of 60
// folders; then a click on a favourites folder of 2,000 icons up to the hand-over
// to the opened-files lister, and its first page of 150 icons drawn the way the
// file loaders draw them. Run under Wine:
//   wine bench_tree.exe > log 2>&1
#include <windows.h>
#include <objbase.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "form.h"
#include "ico_fixtures.h"
#include "navtree.h"
#include "nodedispatch.h"
#include "pageloaders.h"
#include "scratch.h"

using namespace vm;

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

class FrmBench : public Form {
public:
    FrmBench() : Form("frmBench") {}
    TreeView pnlNav{this};
    ListView pnlResult{this};
    ImageList imlResult32;

protected:
    void CreateControls() override {
        pnlNav.create(*this, 0, 0, 4000, 6000);
        pnlResult.create(*this, 4000, 0, 8000, 6000);
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

    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        const auto start = Clock::now();
        TreeBuild build{form.pnlNav, keywords, host, "Vellumar", 32, home, "Favorites"};
        procBuildTree(build);
        best = std::min(best, msSince(start));
    }
    std::printf("tree build (%d nodes): %.1f ms (best of 5)\n", form.pnlNav.Nodes.Count(), best);

    KeywordState state;
    UserReferences refs;
    EntryLists entries;
    PagingState paging;
    BusyState busy;
    NodeSources sources;
    HiddenList lstChange;
    FavoriteNodes favorites;
    bool searching = false;
    ChunkState chunks;
    PageLoaderState loader;
    double handOver = 0, page = 0;
    const auto clickStart = Clock::now();
    sources.searchOpen = [&] {
        handOver = msSince(clickStart);
        const auto pageStart = Clock::now();
        PageLoadContext ctx{form.pnlResult, form.imlResult32, state, refs, chunks, loader};
        for (int i = 0; i < 150 && i < entries.lstFiles.ListCount(); ++i) {
            loader.PageItemNumber = i + 1;
            loader.EntryIconIndex = 0;
            AddPageItem(ctx, Picture::fromIcon(FileItemIcon(loader, 32, entries.lstFiles.List(i))), "", "icon", "2",
                        "File Favorite");
        }
        page = msSince(pageStart);
    };
    SearchContext search{state, refs, entries, paging, busy, host, keywords};
    NodeClickContext ctx{search, sources, lstChange, favorites, searching, home, "2000", "c:\\windows",
                         "c:\\windows\\system32", nullptr, nullptr};
    procNodeClick(ctx, {"favoriBig", "", false});
    std::printf("favourites folder of %d icons: walk and filter %.1f ms, first page of 150 icons %.1f ms, "
                "together %.1f ms\n",
                entries.lstFiles.ListCount(), handOver, page, msSince(clickStart));

    if (RegOpenKeyExA(HKEY_CURRENT_USER, kCursorSchemesKey, 0, KEY_WRITE, &key) == ERROR_SUCCESS) {
        for (const char* scheme : {"Bench A", "Bench B", "Bench C"}) RegDeleteValueA(key, scheme);
        RegCloseKey(key);
    }
    form.Unload();
    return 0;
}
