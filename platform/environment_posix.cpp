#include "platform/environment.h"

#include <cstdlib>

void SetVariable(const char* name, const char* value) {
    ::setenv(name, value, 1);
}
