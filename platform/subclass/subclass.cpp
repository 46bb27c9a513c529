#include "subclass.h"

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <vector>

namespace vm {

namespace {

constexpr UINT_PTR kSubclassId = 0x564D5343; // one hook per window serves every client

struct Attachment {
    ISubclass* client;
    UINT msg;
    bool operator==(const Attachment&) const = default;
};

std::map<HWND, std::vector<Attachment>> g_windows;

LRESULT CALLBACK hookProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR);

void unhook(HWND hwnd) {
    RemoveWindowSubclass(hwnd, hookProc, kSubclassId);
    g_windows.erase(hwnd);
}

bool attached(HWND hwnd, const Attachment& a) {
    auto it = g_windows.find(hwnd);
    return it != g_windows.end() && std::find(it->second.begin(), it->second.end(), a) != it->second.end();
}

LRESULT CALLBACK hookProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (msg == WM_NCDESTROY) {
        unhook(hwnd);
        return DefSubclassProc(hwnd, msg, wParam, lParam);
    }
    auto it = g_windows.find(hwnd);
    if (it != g_windows.end()) {
        // A client may attach or detach while it runs: work on a copy and skip
        // whoever has been detached meanwhile.
        std::vector<Attachment> clients = it->second;
        for (const Attachment& a : clients) {
            if (a.msg != msg || !attached(hwnd, a)) continue;
            EMsgResponse response = a.client->MsgResponse();
            LRESULT result = a.client->WindowProc(hwnd, msg, wParam, lParam);
            if (response == emrConsume) return result;
        }
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

} // namespace

bool AttachMessage(ISubclass* client, HWND hwnd, UINT msg) {
    if (!client || !IsWindow(hwnd) || GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId()) return false;
    Attachment a{client, msg};
    if (attached(hwnd, a)) return true;
    if (g_windows.find(hwnd) == g_windows.end() && !SetWindowSubclass(hwnd, hookProc, kSubclassId, 0)) return false;
    g_windows[hwnd].push_back(a);
    return true;
}

void DetachMessage(ISubclass* client, HWND hwnd, UINT msg) {
    auto it = g_windows.find(hwnd);
    if (it == g_windows.end()) return;
    auto& list = it->second;
    list.erase(std::remove(list.begin(), list.end(), Attachment{client, msg}), list.end());
    if (list.empty()) unhook(hwnd);
}

} // namespace vm
