#include "subclass.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace vm {

namespace {

struct Attachment {
    ISubclass* client;
    UINT msg;
    bool operator==(const Attachment&) const = default;
};

// One hook per window serves every client. It sits in front of the window's
// procedure, found through this table, so a message costs no window property
// lookup: each of those is a trip to the window server and every message of
// the window, its children's notifications included, would pay two.
struct Hook {
    WNDPROC next = nullptr;
    bool unicode = false; // the window's own character set, kept on both sides of the hook
    std::vector<Attachment> clients;
};

std::unordered_map<HWND, Hook> g_windows;

LRESULT CALLBACK hookProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

LRESULT callNext(const Hook& hook, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return hook.unicode ? CallWindowProcW(hook.next, hwnd, msg, wParam, lParam)
                        : CallWindowProcA(hook.next, hwnd, msg, wParam, lParam);
}

bool hookIsOutermost(HWND hwnd, bool unicode) {
    const LONG_PTR proc = unicode ? GetWindowLongPtrW(hwnd, GWLP_WNDPROC) : GetWindowLongPtrA(hwnd, GWLP_WNDPROC);
    return proc == reinterpret_cast<LONG_PTR>(&hookProc);
}

// Puts the window's procedure back when nothing was put in front of the hook
// since; otherwise the hook stays in the chain and only passes messages on.
void unhook(HWND hwnd) {
    auto it = g_windows.find(hwnd);
    if (it == g_windows.end() || !hookIsOutermost(hwnd, it->second.unicode)) return;
    const LONG_PTR next = reinterpret_cast<LONG_PTR>(it->second.next);
    if (it->second.unicode) SetWindowLongPtrW(hwnd, GWLP_WNDPROC, next);
    else SetWindowLongPtrA(hwnd, GWLP_WNDPROC, next);
    g_windows.erase(it);
}

bool attached(HWND hwnd, const Attachment& a) {
    auto it = g_windows.find(hwnd);
    return it != g_windows.end() && std::find(it->second.clients.begin(), it->second.clients.end(), a) !=
                                        it->second.clients.end();
}

LRESULT CALLBACK hookProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto it = g_windows.find(hwnd);
    if (it == g_windows.end()) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        // The window's last message: the clients let go, and the procedures
        // behind the hook still see it.
        const Hook hook = std::move(it->second);
        g_windows.erase(it);
        return callNext(hook, hwnd, msg, wParam, lParam);
    }
    if (std::none_of(it->second.clients.begin(), it->second.clients.end(),
                     [msg](const Attachment& a) { return a.msg == msg; }))
        return callNext(it->second, hwnd, msg, wParam, lParam);
    // A client may attach or detach while it runs: work on a copy and skip
    // whoever has been detached meanwhile.
    const Hook hook = it->second;
    for (const Attachment& a : hook.clients) {
        if (a.msg != msg || !attached(hwnd, a)) continue;
        EMsgResponse response = a.client->MsgResponse();
        LRESULT result = a.client->WindowProc(hwnd, msg, wParam, lParam);
        if (response == emrConsume) return result;
    }
    return callNext(hook, hwnd, msg, wParam, lParam);
}

} // namespace

bool AttachMessage(ISubclass* client, HWND hwnd, UINT msg) {
    if (!client || !IsWindow(hwnd) || GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId()) return false;
    Attachment a{client, msg};
    if (attached(hwnd, a)) return true;
    auto it = g_windows.find(hwnd);
    if (it == g_windows.end()) {
        Hook hook;
        hook.unicode = IsWindowUnicode(hwnd) != FALSE;
        const LONG_PTR proc = reinterpret_cast<LONG_PTR>(&hookProc);
        // The table knows the window before the first message reaches the hook.
        it = g_windows.emplace(hwnd, std::move(hook)).first;
        const LONG_PTR next = it->second.unicode ? SetWindowLongPtrW(hwnd, GWLP_WNDPROC, proc)
                                                 : SetWindowLongPtrA(hwnd, GWLP_WNDPROC, proc);
        if (!next) {
            g_windows.erase(it);
            return false;
        }
        it->second.next = reinterpret_cast<WNDPROC>(next);
    }
    it->second.clients.push_back(a);
    return true;
}

void DetachMessage(ISubclass* client, HWND hwnd, UINT msg) {
    auto it = g_windows.find(hwnd);
    if (it == g_windows.end()) return;
    auto& list = it->second.clients;
    list.erase(std::remove(list.begin(), list.end(), Attachment{client, msg}), list.end());
    if (list.empty()) unhook(hwnd);
}

} // namespace vm
