#pragma once
// The window-subclassing service: delivers chosen messages of a window to
// client objects while the window processes them.
//
// Order: the clients run BEFORE the window's own procedure, inside the same
// call, so pointer arguments (WM_COPYDATA's COPYDATASTRUCT) are valid while
// a client reads them; with the usual response emrPostProcess the window's own
// procedure then handles the message as if nobody had looked, and its result
// is the message's result. Several clients and several messages per window are
// served in the order they were attached. Everything is undone when the window
// is destroyed (WM_NCDESTROY), so a client need not detach from a dead window.
// User-interface thread only.
#include <windows.h>

namespace vm {

enum EMsgResponse : long {
    emrConsume = 0,     // the client's result answers the message; the window never sees it
    emrPostProcess = 1, // the window's own procedure handles the message after the client
};

class ISubclass {
public:
    virtual ~ISubclass() = default;
    // Asked before each delivery.
    virtual EMsgResponse MsgResponse() const = 0;
    virtual void MsgResponse(EMsgResponse response) = 0;
    virtual LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) = 0;
};

// False when hwnd is not a window of this thread. Attaching the same client
// and message twice delivers once.
bool AttachMessage(ISubclass* client, HWND hwnd, UINT msg);
// Nothing happens when the client was not attached for that message.
void DetachMessage(ISubclass* client, HWND hwnd, UINT msg);

} // namespace vm
