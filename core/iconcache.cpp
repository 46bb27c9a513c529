#include "iconcache.h"

#include <windows.h>

#include <string>

#include "registry.h"
#include "seam.h"
#include "state.h"

namespace vm {

namespace {

constexpr const char* kMetricsKey = "Control Panel\\Desktop\\WindowMetrics";
constexpr const char* kIconSizeValue = "Shell Icon Size";
constexpr int kDefaultIconSize = 32;
// A window that does not answer may hold the rebuild up this long, not forever.
constexpr UINT kBroadcastTimeoutMs = 15000;

void writeIconSize(int size) {
    procRegCreateKey(kMetricsKey, HKEY_CURRENT_USER);
    procRegSetValue(kMetricsKey, kIconSizeValue, std::to_string(size), REG_SZ);
}

// Through the seam, so that tests see the broadcast without reaching every
// window of the session.
void broadcastIconMetrics() { seamBroadcastSettingChange(SPI_SETICONMETRICS, kBroadcastTimeoutMs); }

void letPendingMessagesRun() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

} // namespace

void procRebuildIconCache() {
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));

    // Only a size the shell can use is put back; anything else (not a number,
    // below 2, beyond a 16-bit size) counts as missing, so the value never
    // goes to "0" or "1" on the way.
    procRegGetValue(HKEY_CURRENT_USER, kMetricsKey, kIconSizeValue);
    auto stored = reg.RegValue.toLong();
    int size = kDefaultIconSize;
    if (stored && *stored >= 2 && *stored < 0x7FFF) {
        size = *stored;
    } else {
        writeIconSize(size);
    }

    // Whatever goes wrong on the way (a broadcast that times out, a handler of
    // a pending message that throws), the user's icon size goes back.
    try {
        writeIconSize(size + 1);
        broadcastIconMetrics();
        letPendingMessagesRun();
    } catch (...) {
        writeIconSize(size);
        broadcastIconMetrics();
        SetCursor(previous ? previous : LoadCursor(nullptr, IDC_ARROW));
        throw;
    }
    writeIconSize(size);
    broadcastIconMetrics();
    letPendingMessagesRun();

    runState.SystemIconsChanged = false;
    SetCursor(previous ? previous : LoadCursor(nullptr, IDC_ARROW));
}

} // namespace vm
