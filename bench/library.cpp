// Times the library side of a keyword search on a generated library of 20,000
// icons under 3,000 keywords: reading the index, the search with its first
// page of 150 icons while no chunk is in the cache yet, and the same search
// and page again once the chunks are there. Run under Wine:
//   wine bench_library.exe > log 2>&1
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "form.h"
#include "libfixtures.h"
#include "libraryarchive.h"
#include "libraryindex.h"
#include "librarysearch.h"
#include "pagefiller.h"
#include "scratch.h"
#include "state.h"
#include "zipwriter.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kIcons = 20000;
constexpr int kKeywords = 3000;
constexpr int kChunks = kIcons / 100;
constexpr const char* kSearched = "keyword0"; // 400 icons from 20 chunks

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string iconId(int icon) {
    return std::to_string(icon / 100 + 1) + ":" + std::to_string(icon % 100) + ":" + std::to_string(icon % 10) +
           std::to_string(icon % 9);
}

// Every icon under two keywords, and the searched keyword over whole chunks
// as a theme of the library would lie.
void writeLibrary(const std::string& dir) {
    std::vector<std::string> records(kKeywords);
    auto file = [&records](int keyword, int icon) {
        std::string& record = records[static_cast<size_t>(keyword)];
        record += ';';
        record += iconId(icon);
    };
    for (int icon = 0; icon < kIcons; ++icon) {
        file(1 + icon % (kKeywords - 1), icon);
        file(1 + (icon * 7 + 3) % (kKeywords - 1), icon);
    }
    for (int icon = 0; icon < 400; ++icon) file(0, (icon / 100) * 5000 + (icon % 100) + (icon / 20 % 5) * 1000);
    std::string index;
    for (int k = 0; k < kKeywords; ++k) {
        index += "keyword";
        index += std::to_string(k);
        index += records[static_cast<size_t>(k)];
        index += "\r\n";
    }
    vmtest::writeFile(dir + "Icondata-32.dat", index);

    std::map<std::string, std::vector<vmtest::ZipFixtureMember>> archives;
    for (long chunk = 1; chunk <= kChunks; ++chunk) {
        std::string cells;
        for (int p = 0; p < 100; ++p) {
            if (p) cells += ',';
            cells += std::to_string(p);
            cells += ':';
            cells += std::to_string(p % 10);
        }
        vmtest::ZipFixtureMember m;
        m.name = std::to_string(chunk) + ".lib";
        m.data = vmtest::makeChunkBitmap(32, chunk, cells);
        m.password = vm::kLibraryPassword;
        archives[vm::ChunkHomeOf(32, chunk).archive].push_back(std::move(m));
    }
    for (const auto& [name, members] : archives) vmtest::writeFile(dir + name, vmtest::makeZipArchive(members));
}

class FrmBench : public vm::Form {
public:
    FrmBench() : Form("frmBench") {}
    vm::ListView pnlResult{this}, pnlDummy{this};
    vm::ImageList imlResult32;
    vm::StatusBar pnlStatusbar{this};
    vm::ProgressBar pnlProgressBar{this};

protected:
    void CreateControls() override {
        for (vm::ListView* view : {&pnlResult, &pnlDummy}) {
            view->create(*this, 0, 0, 6000, 4000, vm::lvwIcon);
            for (const char* c : {"Name", "Type", "Origin"}) view->ColumnHeaders.Add(-1, "", c, 1500);
        }
        pnlStatusbar.create(*this);
        for (const char* key : {"message", "count", "area"}) pnlStatusbar.Panels.Add(-1, key);
        pnlProgressBar.create(*this, 0, 0, 1000, 200);
        imlResult32.SetImageWidth(32);
        imlResult32.SetImageHeight(32);
    }
};

void clearCache(const std::string& folder) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\*.lib").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    do DeleteFileA((folder + "\\" + fd.cFileName).c_str());
    while (FindNextFileA(h, &fd));
    FindClose(h);
}

} // namespace

int main() {
    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS |
                                              ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    {
        vmtest::ScratchDir dir;
        const std::string data = dir.path() + "\\";
        vm::paths.DataPath = data;
        vm::paths.TempPath = data;
        CreateDirectoryA((data + "Temp32").c_str(), nullptr);
        auto start = Clock::now();
        writeLibrary(data);
        std::printf("library written: %d icons, %d keywords, %d chunks in %.0f ms\n", kIcons, kKeywords, kChunks,
                    msSince(start));

        FrmBench form;
        form.Load();
        vm::BrowserWindow window;
        window.form = &form;
        window.pnlResult = &form.pnlResult;
        window.pnlDummy = &form.pnlDummy;
        window.imlResult32 = &form.imlResult32;
        window.pnlStatusbar = &form.pnlStatusbar;
        window.pnlProgressBar = &form.pnlProgressBar;
        window.MessagePanel = &form.pnlStatusbar.Panels("message");
        window.CountPanel = &form.pnlStatusbar.Panels("count");
        window.PagePanel = &form.pnlStatusbar.Panels("area");
        vm::BrowserHost host;
        host.doEvents = [] { vm::DoEvents(); };
        host.clearResult = [&] {
            form.pnlResult.ListItems.Clear();
            form.imlResult32.ListImages.Clear();
        };
        vm::PageFiller pager(window, host,
                             {vm::Entries, vm::Paging, vm::Busy, vm::Keywords, vm::UserRefs, vm::Chunks,
                              vm::PageLoaders, vm::ZipExtractions});
        host.showPage = [&] { pager.ShowNewList(); };

        vm::HiddenList box;
        vm::ListOf<vm::HiddenList> cmbSearch(box);
        vm::Keywords.IconSize = 32;
        start = Clock::now();
        vm::procFillSearch(vm::Keywords, vm::UserRefs, {&cmbSearch, nullptr, nullptr}, host);
        std::printf("read index: %.1f ms (%d keywords)\n", msSince(start), box.ListCount());

        vm::SearchContext ctx{vm::Keywords, vm::UserRefs, vm::Entries, vm::Paging, vm::Busy, host, cmbSearch};
        const int keyword = vm::FindKeywordPrefix(cmbSearch, kSearched);
        box.SetListIndex(keyword);
        clearCache(data + "Temp32");
        for (const char* pass : {"cold cache", "warm cache", "warm cache"}) {
            start = Clock::now();
            vm::procSearchVellumar(ctx);
            std::printf("search %s and first page (%s): %.1f ms, %d entries, %d items on the page\n", kSearched,
                        pass, msSince(start), vm::Entries.cmbResult.ListCount(), form.pnlResult.ListItems.Count());
        }
        start = Clock::now();
        pager.mnuGoNextPage_Click();
        std::printf("next page (cold cache): %.1f ms, %d items\n", msSince(start), form.pnlResult.ListItems.Count());
        form.Unload();
    }
    CoUninitialize();
    return 0;
}
