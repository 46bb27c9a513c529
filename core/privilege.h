#pragma once
namespace vm {

// Gives the process the right to shut Windows down before a restart. Each step
// that fails shows "<step> error==<number>" in a plain message box and the
// next step runs.
void procEnableShutdownPrivilege();

} // namespace vm
