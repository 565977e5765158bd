#pragma once

namespace platform {

// Whether start-up may hand work to another thread (the font list, the
// icon's sizes). Not on Windows: a helper thread Qt did not start crashes
// there as it ends, and one of Qt's pool still alive as the program ends
// hangs its exit (the pool waits for it while Windows holds the loader lock).
bool helperThreadsAtStartup();

} // namespace platform
