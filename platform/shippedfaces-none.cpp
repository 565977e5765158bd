// Debian's culmus package supplies the faces: nothing is shipped beside the program.
#include "shippedfaces.h"

namespace platform {

bool useShippedFaces()
{
    return false;
}

} // namespace platform
