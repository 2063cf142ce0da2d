#include "platform/memory.h"

#include <windows.h>

void WipeMemory(void* memory, std::size_t size) {
    SecureZeroMemory(memory, size);
}
