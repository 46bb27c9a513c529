// Times opening the user's own icon files: a folder of mixed icon files (ICO
// of every depth, cursors, animations, icon DLLs; 1,000 by default) handed
// over as on the command line, all listed and the first page shown; and a ZIP
// archive of icons (500 by default), listed through the library's member
// listing, with its first page. bench/run runs it and the references. Run
// under Wine:
//   wine bench_openfiles.exe [files [members]] > log 2>&1
// Lines "RESULT <what> <ms>" and "FILES <folder>" serve bench/run.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "benchtime.h"
#include "cfileicon.h"
#include "controls_basic.h"
#include "fileiconextract.h"
#include "form.h"
#include "loadergate.h"
#include "ico_fixtures.h"
#include "openfixtures.h"
#include "openpaths.h"
#include "opensearch.h"
#include "pagefiller.h"
#include "scratch.h"
#include "state.h"
#include "zipsource.h"
#include "zipwriter.h"

namespace {

using bench::Clock;
using bench::msSince;
namespace fx = vmtest::ico;


std::string quoted(const std::string& path) {
    std::string text = "\"";
    text += path;
    text += '"';
    return text;
}

std::string numbered(const char* stem, int i, const char* extension) {
    std::string name = stem;
    name += std::to_string(i);
    name += extension;
    return name;
}

// Of every 1,000 files: 700 icons of every depth, 150 cursors, 100 animations
// of 4 frames, 50 DLLs of 6 groups.
void writeFolder(const std::string& folder, int thousands) {
    const int depths[] = {1, 4, 8, 24, 32};
    for (int i = 0; i < 700 * thousands; ++i) {
        std::vector<fx::Image> images{fx::dib(32, 32, depths[i % 5], static_cast<unsigned>(i))};
        if (i % 2) images.push_back(fx::dib(16, 16, depths[(i + 1) % 5], static_cast<unsigned>(i)));
        vmtest::writeFile(folder + numbered("icon", i, ".ico"), fx::icoFile(images));
    }
    for (int i = 0; i < 150 * thousands; ++i)
        vmtest::writeFile(folder + numbered("cursor", i, ".cur"), fx::icoFile({fx::dib(32, 32, 8, i)}, 2));
    std::vector<std::string> frames;
    for (unsigned c = 1; c <= 4; ++c) frames.push_back(vmtest::solidIcon(32, 0x203040u * c));
    for (int i = 0; i < 100 * thousands; ++i)
        vmtest::writeFile(folder + numbered("wait", i, ".ani"), vmtest::aniFile(frames, 4));
    std::vector<fx::Group> groups;
    for (int g = 1; g <= 6; ++g) groups.push_back({g, "", {fx::dib(16, 16, 4, g), fx::dib(32, 32, 8, g)}});
    for (int i = 0; i < 50 * thousands; ++i) fx::makeIconModule(folder + numbered("lib", i, ".dll"), groups);
}

class FrmBench : public vm::Form {
public:
    FrmBench() : Form("frmBench") {}
    vm::ListView pnlResult{this}, pnlDummy{this};
    vm::ImageList imlResult32;
    vm::StatusBar pnlStatusbar{this};
    vm::ZipListBox txtZIP{this};
    vm::TextBox txtDummyZIP{this};

protected:
    void CreateControls() override {
        for (vm::ListView* view : {&pnlResult, &pnlDummy}) {
            view->create(*this, 0, 0, 6000, 4000, vm::lvwIcon);
            for (const char* c : {"Name", "Type", "Origin"}) view->ColumnHeaders.Add(-1, "", c, 1500);
        }
        pnlStatusbar.create(*this);
        for (const char* key : {"message", "count", "area"}) pnlStatusbar.Panels.Add(-1, key);
        txtZIP.create(*this, 0, 0, 100, 100);
        txtDummyZIP.create(*this, 0, 0, 100, 100);
        imlResult32.SetImageWidth(32);
        imlResult32.SetImageHeight(32);
    }
};

} // namespace

int main(int argc, char** argv) {
    const int thousands = std::max(1, (argc > 1 ? std::atoi(argv[1]) : 1000) / 1000);
    const int memberCount = std::max(1, argc > 2 ? std::atoi(argv[2]) : 500);
    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    {
        vmtest::ScratchDir dir;
        const std::string folder = dir.file("icons") + "\\";
        CreateDirectoryA(folder.c_str(), nullptr);
        CreateDirectoryA(dir.file("tmp").c_str(), nullptr);
        vm::paths.TempPath = dir.file("tmp") + "\\";
        auto start = Clock::now();
        writeFolder(folder, thousands);
        std::printf("FILES %s\n", folder.c_str());
        std::vector<vmtest::ZipFixtureMember> members;
        for (int i = 0; i < memberCount; ++i) {
            vmtest::ZipFixtureMember m;
            m.name = numbered("icons/icon", i, ".ico");
            m.data = fx::icoFile({fx::dib(32, 32, i % 2 ? 8 : 32, static_cast<unsigned>(i))});
            members.push_back(std::move(m));
        }
        const std::string archive = dir.file("icons.zip");
        vmtest::writeFile(archive, vmtest::makeZipArchive(members));
        std::printf("ARCHIVE %s\n", archive.c_str());
        std::printf("test files written in %.0f ms\n", msSince(start));

        FrmBench form;
        form.Load();
        vm::BrowserWindow window;
        window.form = &form;
        window.pnlResult = &form.pnlResult;
        window.imlResult32 = &form.imlResult32;
        window.pnlStatusbar = &form.pnlStatusbar;
        window.MessagePanel = &form.pnlStatusbar.Panels("message");
        window.CountPanel = &form.pnlStatusbar.Panels("count");
        window.PagePanel = &form.pnlStatusbar.Panels("area");
        vm::BrowserHost host;
        host.doEvents = [] { vm::DoEvents(); };
        host.YieldEvery = vm::kWindowYieldEvery;
        // The program's own box: it takes each member line without an edit control.
        form.txtZIP.busy = &vm::Busy;
        form.txtZIP.Change = [&] { vm::txtZIP_Change(vm::Entries, host, form.txtZIP.Line()); };
        host.clearResult = [&] {
            form.pnlResult.ListItems.Clear();
            form.imlResult32.ListImages.Clear();
        };
        vm::PageFiller pager(window, host,
                             {vm::Entries, vm::Paging, vm::Busy, vm::Keywords, vm::UserRefs, vm::Chunks,
                              vm::PageLoaders, vm::ZipExtractions});
        double pageMs = 0;
        host.showPage = [&] {
            const auto pageStart = Clock::now();
            pager.ShowNewList();
            pageMs = msSince(pageStart);
        };
        host.setAbort = [&](bool idle) { pager.procSetAbort(idle); };
        vm::Keywords.IconSize = 32;
        const vm::ZipListWindows boxes{form.txtZIP.hWnd(), form.txtDummyZIP.hWnd()};

        for (int pass = 1; pass <= 2; ++pass) {
            vm::OpenSearchContext ctx{vm::Entries, vm::Paging, vm::Busy, host, vm::Chunks, vm::ZipExtractions};
            std::string passed = quoted(dir.file("icons"));
            start = Clock::now();
            vm::procOpenPassedPaths(ctx, boxes, passed, ' ');
            double ms = msSince(start);
            std::printf("folder of %d files, pass %d: %.0f ms to the first page (the page itself %.0f ms); %d files, "
                        "%d entries, %d items\n",
                        thousands * 1000, pass, ms, pageMs, vm::Entries.lstFiles.ListCount(),
                        vm::Entries.cmbResult.ListCount(), form.pnlResult.ListItems.Count());
            if (pass == 2) std::printf("RESULT folder %.1f\nRESULT openpage %.1f\n", ms, pageMs);
            start = Clock::now();
            pager.mnuGoNextPage_Click();
            std::printf("  next page: %.0f ms\n", msSince(start));

            passed = quoted(archive);
            start = Clock::now();
            vm::procOpenPassedPaths(ctx, boxes, passed, ' ');
            ms = msSince(start);
            std::printf("ZIP of %d icons, pass %d: %.0f ms to the first page (the page itself %.0f ms); %d members, "
                        "%d entries, %d items\n",
                        memberCount, pass, ms, pageMs, vm::Entries.lstZipIcons.ListCount(),
                        vm::Entries.cmbResult.ListCount(), form.pnlResult.ListItems.Count());
            if (pass == 2) std::printf("RESULT zip %.1f\n", ms);
            start = Clock::now();
            pager.mnuGoNextPage_Click();
            std::printf("  next page: %.0f ms\n", msSince(start));
        }
        // Where the time of the default folder goes, by kind of file.
        if (argc <= 1)
        for (auto [stem, extension, count] : {std::tuple{"icon", ".ico", 700}, std::tuple{"cursor", ".cur", 150},
                                              std::tuple{"wait", ".ani", 100}, std::tuple{"lib", ".dll", 50}}) {
            vm::Entries.lstFiles.Clear();
            vm::Entries.lstZipIcons.Clear();
            vm::Entries.cmbResult.Clear();
            for (int i = 0; i < count; ++i) vm::Entries.lstFiles.AddItem(folder + numbered(stem, i, extension));
            vm::OpenSearchContext ctx{vm::Entries, vm::Paging, vm::Busy, host, vm::Chunks, vm::ZipExtractions};
            start = Clock::now();
            vm::procSearchOpen(ctx);
            std::printf("  %d %s files listed with their first page: %.0f ms\n", count, extension, msSince(start));
        }
        if (argc <= 1) {
            std::vector<std::string> files;
            for (int i = 0; i < 700; ++i) files.push_back(folder + numbered("icon", i, ".ico"));
            start = Clock::now();
            int icons = 0;
            for (const std::string& f : files) icons += vm::procFileIconCount(f);
            std::printf("  count of 700 icon files: %.0f ms (%d)\n", msSince(start), icons);
            start = Clock::now();
            for (const std::string& f : files) {
                vm::cFileIcon icon;
                icon.LoadIcon(f);
            }
            std::printf("  loading 700 icon files: %.0f ms\n", msSince(start));
            start = Clock::now();
            for (int i = 0; i < 2500; ++i) vm::DoEvents();
            std::printf("  2,500 yields: %.0f ms\n", msSince(start));
            start = Clock::now();
            for (int i = 0; i < 150; ++i) DestroyIcon(vm::procExtractFileIcon(files[static_cast<size_t>(i)], 0, 32));
            std::printf("  150 icons extracted: %.0f ms\n", msSince(start));
            start = Clock::now();
            for (int i = 0; i < 150; ++i)
                DestroyIcon(static_cast<HICON>(
                    vm::gate::LoadImageFile(files[static_cast<size_t>(i)], IMAGE_ICON, 32, 32, 0)));
            std::printf("  150 icons loaded as images: %.0f ms\n", msSince(start));
            const std::string out = dir.file("out") + "\\";
            CreateDirectoryA(out.c_str(), nullptr);
            start = Clock::now();
            for (int i = 0; i < 500; ++i) {
                const std::string member = numbered("icons\\icon", i, ".ico");
                vm::procUnzipFile(vm::Chunks, archive, member, out + member, out);
            }
            std::printf("  500 members extracted: %.0f ms\n", msSince(start));
            vm::ExtractedMembers record;
            record.folders.push_back(out);
            for (int i = 0; i < 500; ++i) vm::RecordExtractedMember(record, out + numbered("icons\\icon", i, ".ico"));
            start = Clock::now();
            vm::DeleteExtractedMembers(record, dir.path() + "\\");
            std::printf("  500 members removed: %.0f ms\n", msSince(start));
            start = Clock::now();
            vm::Paging.CurrentPage = 1;
            pager.procGetPage();
            std::printf("  page 1 of the archive again: %.0f ms\n", msSince(start));
        }
        vm::procClearZipLists(vm::Entries, vm::ZipExtractions);
        form.Unload();
    }
    CoUninitialize();
    return 0;
}
