#include "commandstate.h"

namespace vm {

CommandModes Commands;

} // namespace vm
