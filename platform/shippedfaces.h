#pragma once

namespace platform {

// Faces the program brings with it where the system lacks them: on Windows,
// the Culmus faces that stand in for the designed ones, installed beside the
// program; there the designed faces are preferred where the system has them.
// Nothing elsewhere (Debian's culmus package supplies them). Whether any was
// added (the font list is then read already).
bool useShippedFaces();

} // namespace platform
