#include "main.h"

#include "frmsplash.h"
#include "instance.h"

namespace vm::shell {

bool Main(const std::string& commandLine) {
    if (procIsFirstInstance(kMutexName)) {
        frmSplash().Show(vbModeless);
        return true;
    }
    procHandOver(commandLine, kHandOverWaitMs);
    return false;
}

} // namespace vm::shell
