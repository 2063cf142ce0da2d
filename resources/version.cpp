#include "resources/version.h"

const char* BuildVersion() {
    return ZEL_BUILD_VERSION;
}
