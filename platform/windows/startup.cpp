#include "startup.h"

namespace platform {

bool helperThreadsAtStartup()
{
    return false;
}

} // namespace platform
