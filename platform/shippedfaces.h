#pragma once

namespace platform {

// Faces the program brings with it where the system lacks them: on Windows,
// the Culmus faces that stand in for the designed ones, installed beside the
// program; there the designed faces are preferred where the system has them.
// Nothing elsewhere (Debian's culmus package supplies them).
void useShippedFaces();

} // namespace platform
