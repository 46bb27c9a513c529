// Times a keyword search as a user sees it on a generated library of 20,000
// icons under 3,000 keywords: the real main window is shown, and a search
// runs with its first page of 150 icons and the selection of the first item,
// until the window has painted it: while no chunk is extracted or decoded yet
// (cold) and again at once (warm), several rounds; then a second keyword and
// the next page. As a reference each round reads the page's chunk members
// from their archives in one process with the project's own ZIP units, and
// the ratio is printed. Run under Wine, with Orvex32.dll and Zandrel32.dll beside it:
//   wine bench_library.exe > log 2>&1
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "benchtime.h"
#include "browserstate.h"
#include "frmmain.h"
#include "libfixtures.h"
#include "libraryarchive.h"
#include "librarychunks.h"
#include "memorysource.h"
#include "pageloaders.h"
#include "resultentry.h"
#include "scratch.h"
#include "state.h"
#include "zandrel32.h"
#include "ziparchive.h"
#include "zipwriter.h"

namespace {

using bench::Clock;
using bench::msSince;
using bench::settle;
constexpr int kIcons = 20000;
constexpr int kKeywords = 3000;
constexpr int kChunks = kIcons / 100;
constexpr const char* kSearched = "keyword0"; // 400 icons from 20 chunks
constexpr const char* kOther = "keyword1"; // 400 icons from 20 other chunks


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
    for (int icon = 0; icon < 400; ++icon) {
        file(0, (icon / 100) * 5000 + (icon % 100) + (icon / 20 % 5) * 1000);
        file(1, (icon / 100) * 5000 + (icon % 100) + (icon / 20 % 5) * 1000 + 500);
    }
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

void clearCache(const std::string& folder) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\*.lib").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    do DeleteFileA((folder + "\\" + fd.cFileName).c_str());
    while (FindNextFileA(h, &fd));
    FindClose(h);
}

class MemorySink : public zandrel::MemberSink {
public:
    bool write(const unsigned char* data, size_t n) override {
        bytes.append(reinterpret_cast<const char*>(data), n);
        return true;
    }
    std::string bytes;
};

// The chunk members of the entries shown on page 1, read from their archives
// in this process: archive files read, directories parsed, members decrypted,
// inflated and checked. Returns the milliseconds taken.
double referenceExtraction(const std::string& data, const vm::HiddenList& entries, int perPage, int& members) {
    std::map<std::string, std::set<std::string>> wanted;
    for (int i = 0; i < entries.ListCount() && i < perPage; ++i) {
        const std::string chunk = vm::EntryField(entries.List(i), 1);
        wanted[vm::ChunkHomeOf(32, vm::ChunkNumber(chunk)).archive].insert(chunk + ".lib");
    }
    members = 0;
    const auto start = Clock::now();
    for (const auto& [archive, names] : wanted) {
        vmtest::MemorySource source(vmtest::readFile(data + archive));
        std::vector<zandrel::ZipEntry> directory;
        if (zandrel::readDirectory(source, directory) != ZANDREL_OK) continue;
        for (const auto& e : directory) {
            if (!names.count(e.name)) continue;
            MemorySink sink;
            if (zandrel::extractMember(source, e, vm::kLibraryPassword, sink) == ZANDREL_OK) ++members;
        }
    }
    return msSince(start);
}

// No chunk extracted or decoded yet, as at the start of a run.
void forgetChunks(const std::string& data) {
    clearCache(data + "Temp32");
    vm::PageLoaders.library.ForgetPictures();
    vm::Chunks.LoadedChunkPath.clear();
}

int keywordIndex(vm::ComboBox& box, const std::string& text) {
    for (int i = 0; i < box.ListCount(); ++i)
        if (box.List(i) == text) return i;
    return -1;
}

double g_handlerMs = 0; // of the last timed search: until the search returned, before the window painted

// One search through the keyword box as a pick from its list raises it, until
// the window has painted the page and the selection.
double timedSearch(vm::FrmMain& w, int index) {
    w.cmbSearch.SetListIndex(-1);
    settle();
    const auto start = Clock::now();
    w.cmbSearch.SetListIndex(index);
    g_handlerMs = msSince(start);
    settle();
    UpdateWindow(w.hWnd());
    return msSince(start);
}

} // namespace

int main() {
    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES |
                                              ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vellumar");
    {
        vmtest::ScratchDir dir;
        const std::string data = dir.path() + "\\";
        vm::paths.DataPath = data;
        vm::paths.TempPath = data;
        CreateDirectoryA((data + "Temp16").c_str(), nullptr);
        CreateDirectoryA((data + "Temp32").c_str(), nullptr);
        auto start = Clock::now();
        writeLibrary(data);
        std::printf("library written: %d icons, %d keywords, %d chunks in %.0f ms\n", kIcons, kKeywords, kChunks,
                    msSince(start));

        vm::FrmMain::endProcess = [] {};
        vm::runState.SplashActive = true;
        vm::FrmMain& w = vm::frmMain();
        start = Clock::now();
        w.Show(vm::vbModeless);
        settle();
        std::printf("main window loaded and shown: %.0f ms\n", msSince(start));

        const int searched = keywordIndex(w.cmbSearch, kSearched);
        const int other = keywordIndex(w.cmbSearch, kOther);
        if (searched < 0 || other < 0) {
            std::printf("the keywords are not in the keyword box\n");
            return 1;
        }
        // Cold and warm searches take turns with the reference, so that what
        // else the machine does meanwhile weighs on each alike.
        constexpr int kRounds = 5;
        std::vector<double> cold, coldUntilPaint, warm, warmUntilPaint, reference;
        int members = 0;
        for (int round = 0; round < kRounds; ++round) {
            forgetChunks(data);
            cold.push_back(timedSearch(w, searched));
            coldUntilPaint.push_back(g_handlerMs);
            warm.push_back(timedSearch(w, searched));
            warmUntilPaint.push_back(g_handlerMs);
            reference.push_back(
                referenceExtraction(data, vm::Entries.cmbResult, vm::Paging.IconsPerPage, members));
        }
        std::printf("%d entries, %d items on page 1, \"%s\"; %d rounds, min / median:\n",
                    vm::Entries.cmbResult.ListCount(), w.pnlResult.ListItems.Count(), w.CountPanel->Text().c_str(),
                    kRounds);
        const auto print = [](const char* what, std::vector<double>& ms) {
            std::sort(ms.begin(), ms.end());
            std::printf("  %-58s %7.1f / %7.1f ms\n", what, ms.front(), ms[ms.size() / 2]);
        };
        const double coldMin = *std::min_element(cold.begin(), cold.end());
        const double referenceMin = *std::min_element(reference.begin(), reference.end());
        std::sort(cold.begin(), cold.end());
        std::sort(warm.begin(), warm.end());
        std::printf("RESULT search_cold %.1f\nRESULT search_warm %.1f\n", cold[cold.size() / 2], warm[warm.size() / 2]);
        print("search + page 1 + selection, cold, painted", cold);
        print("  of which until the search returned", coldUntilPaint);
        print("search + page 1 + selection, warm, painted", warm);
        print("  of which until the search returned", warmUntilPaint);
        std::printf("  reference: the page's %d chunk members read in process    %7.2f ms (min)\n", members,
                    referenceMin);
        std::printf("  ratio cold / reference (mins): %.1f\n", referenceMin > 0 ? coldMin / referenceMin : 0.0);

        std::printf("search %s + page 1 + selection (other chunks, cold): %.1f ms\n", kOther,
                    timedSearch(w, other));
        std::printf("search %s again, its pictures in memory: %.1f ms\n", kSearched, timedSearch(w, searched));
        const auto next = Clock::now();
        w.pager().mnuGoNextPage_Click();
        settle();
        std::printf("next page (cold chunks): %.1f ms, %d items\n", msSince(next), w.pnlResult.ListItems.Count());

        w.Unload();
        clearCache(data + "Temp32");
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vellumar");
    CoUninitialize();
    return 0;
}
