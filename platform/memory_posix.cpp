#include "platform/memory.h"

#include <cstring>

void WipeMemory(void* memory, std::size_t size) {
    explicit_bzero(memory, size);
}
