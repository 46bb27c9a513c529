#include "state.h"

namespace vm {

Paths paths;
Identity identity;
RunState runState;
FolderPicker folderPicker;

} // namespace vm
