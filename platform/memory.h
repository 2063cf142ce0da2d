// Clearing memory that held a secret (a document's plain text), in a way the
// compiler cannot drop as a dead store.
#pragma once

#include <cstddef>

void WipeMemory(void* memory, std::size_t size);
