// How long the main window leaves a person without an answer while it opens
// an archive of 65,535 members, the most an archive without 64-bit fields
// holds (every hundredth member an icon, the others small text files). The
// shown main window opens it as a path handed over to it; meanwhile a second
// thread asks the window for an answer (WM_NULL) again and again and times
// the answers: the longest time between two answers is the figure. Run under
// Wine, with Orvex32.dll and Zandrel32.dll beside it:
//   wine bench_zipgap.exe > log 2>&1
// Line "RESULT zipgap <ms>" serves bench/run.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "benchtime.h"
#include "frmmain.h"
#include "ico_fixtures.h"
#include "scratch.h"
#include "state.h"
#include "zipwriter.h"

namespace {

using bench::Clock;
using bench::msSince;
using bench::settle;
constexpr int kMembers = 65535;

std::string writeArchive(const std::string& path) {
    std::vector<vmtest::ZipFixtureMember> members;
    members.reserve(kMembers);
    for (int i = 0; i < kMembers; ++i) {
        const bool icon = i % 100 == 0;
        std::string name = icon ? "icons/" : "notes/";
        name += std::to_string(i);
        name += icon ? ".ico" : ".txt";
        if (icon)
            members.push_back({name, vmtest::ico::icoFile({vmtest::ico::dib(32, 32, i % 200 ? 8 : 32,
                                                                            static_cast<unsigned>(i))})});
        else
            members.push_back({name, std::string(1, 'x'), false});
    }
    vmtest::writeFile(path, vmtest::makeZipArchive(members));
    return path;
}

// Asks the window for an answer until told to stop, each time as soon as the
// last answer came, and keeps the longest wait between two answers.
class Prober {
public:
    explicit Prober(HWND window) : window_(window) {
        thread_ = CreateThread(nullptr, 0, [](void* self) -> DWORD {
            static_cast<Prober*>(self)->run();
            return 0;
        }, this, 0, nullptr);
    }
    // Stops asking; the window goes on answering until the last question is in.
    void finish() {
        stop_ = true;
        while (MsgWaitForMultipleObjects(1, &thread_, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) settle();
        CloseHandle(thread_);
    }
    double longest() const { return longest_; }
    int answers() const { return answers_; }

private:
    void run() {
        auto last = Clock::now();
        while (!stop_) {
            DWORD_PTR result = 0;
            SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, 600000, &result);
            longest_ = std::max(longest_, msSince(last));
            last = Clock::now();
            ++answers_;
            Sleep(1);
        }
    }
    HWND window_;
    HANDLE thread_ = nullptr;
    std::atomic<bool> stop_{false};
    double longest_ = 0;
    int answers_ = 0;
};

} // namespace

int main() {
    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES |
                                              ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vellumar");
    {
        vmtest::ScratchDir dir;
        vm::paths.DataPath = dir.path() + "\\";
        vm::paths.TempPath = vm::paths.DataPath;
        // An index of one keyword and no notice of the missing library: the
        // window starts with nothing in front of it.
        vmtest::writeFile(dir.file("Icondata-32.dat"), "none;1:0:00\r\n");
        RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Vellumar\\Settings", "VellumarLight", REG_SZ, "1", 2);
        auto start = Clock::now();
        const std::string archive = writeArchive(dir.file("most.zip"));
        std::printf("archive of %d members written in %.0f ms\n", kMembers, msSince(start));

        vm::FrmMain::endProcess = [] {};
        vm::runState.SplashActive = true;
        vm::FrmMain& w = vm::frmMain();
        w.Show(vm::vbModeless);
        settle();

        Prober prober(w.hWnd());
        start = Clock::now();
        std::string passed = "\"";
        passed += archive;
        passed += '"';
        w.procOpenPassedFile(passed);
        settle();
        UpdateWindow(w.hWnd());
        const double openMs = msSince(start);
        prober.finish();
        std::printf("opened to its first page in %.0f ms: %d members listed, %d entries, %d items, \"%s\"; "
                    "%d answers, the longest wait %.1f ms\n",
                    openMs, vm::Entries.lstZipIcons.ListCount(), vm::Entries.cmbResult.ListCount(),
                    w.pnlResult.ListItems.Count(), w.MessagePanel->Text().c_str(), prober.answers(),
                    prober.longest());
        std::printf("RESULT zipgap %.1f\n", prober.longest());
        w.Unload();
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vellumar");
    CoUninitialize();
    return 0;
}
