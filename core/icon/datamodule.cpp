#include "datamodule.h"

#include "loadergate.h"

#include <mutex>
#include <vector>

namespace vm {
namespace {

struct Held {
    std::string file;
    HMODULE module;
    int holders;
};

std::mutex g_lock;
std::vector<Held> g_held; // a few at a time: the files being read just now

} // namespace

HMODULE AcquireDataModule(const std::string& file) {
    std::lock_guard<std::mutex> guard(g_lock);
    for (Held& h : g_held) {
        if (lstrcmpiA(h.file.c_str(), file.c_str()) != 0) continue;
        ++h.holders;
        return h.module;
    }
    HMODULE module = gate::LoadDataFile(file);
    if (module) g_held.push_back({file, module, 1});
    return module;
}

void ReleaseDataModule(HMODULE module) {
    if (!module) return;
    std::lock_guard<std::mutex> guard(g_lock);
    for (auto it = g_held.begin(); it != g_held.end(); ++it) {
        if (it->module != module) continue;
        if (--it->holders == 0) {
            FreeLibrary(module);
            g_held.erase(it);
        }
        return;
    }
}

} // namespace vm
