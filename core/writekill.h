#pragma once
// A test-only switch for proving that every write of what the user or Windows
// owns can be cut short without loss: with VM_KILL_AFTER_WRITE=N in the
// environment, the process ends at once (as a kill would end it, with nothing
// flushed or cleaned up) right after its N-th such write. Each writer of those
// things (the registry backup, the safe file replacement, shortcuts) calls
// AfterOwnedWrite() after every single write it makes.

namespace vm {

void AfterOwnedWrite();

} // namespace vm
