#include "dialogstate.h"

namespace vm {

DoubleClickSettings DoubleClick;

} // namespace vm
