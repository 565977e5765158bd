// Debian's culmus package supplies the faces: nothing is shipped beside the program.
#include "shippedfaces.h"

namespace platform {

void useShippedFaces() {}

} // namespace platform
