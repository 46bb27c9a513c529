#include "toolshost.h"

namespace vm {

ToolsHost toolsHost;

} // namespace vm
