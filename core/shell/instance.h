#pragma once
// One running instance: a later start hands its command line to the running
// one through WM_COPYDATA and ends without a window of its own.
#include <windows.h>

#include <string>

namespace vm::shell {

inline constexpr const char* kMutexName = "Vellumar_APPLICATION_MUTEX";
inline constexpr const char* kWindowProperty = "Vellumar_APPLICATION";

// The mutex held by the first instance (null when none is held) and the first
// instance's main window as a second instance found it.
extern HANDLE InstanceMutex;
extern HWND PrevInstanceWnd;

// True when this process created the mutex. A creation that fails for another
// reason than "already exists" also counts as first (InstanceMutex stays null).
bool procIsFirstInstance(const std::string& mutexName);
void procReleaseInstanceMutex();

// Sets PrevInstanceWnd to the first top-level window carrying the property.
void procFindPrevInstanceWindow();
// Restores a minimised window and raises it; it never makes a hidden window visible.
void procActivatePrevInstance(HWND window);
void procTagMainWindow(HWND window);

// The arguments of a full command line, after the program's own path.
std::string commandArguments(const std::string& fullCommandLine);

// What a second start did with its command line.
enum class HandOver { NoWindow, Sent, Activated };

// The second instance's part: waits up to waitMs for the first instance to
// tag its main window (it may still be starting), then sends the command line
// (or one byte 0 when it is empty and the window is hidden) or raises the window.
HandOver procHandOver(const std::string& commandLine, DWORD waitMs);

// The text a hand-over message carries, cut at its first NUL.
std::string copyDataText(const COPYDATASTRUCT& data);

} // namespace vm::shell
