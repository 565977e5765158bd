#include "startup.h"

namespace platform {

bool helperThreadsAtStartup()
{
    return true;
}

} // namespace platform
