// Writing a range of the bound GL_ARRAY_BUFFER that no draw reads yet, for the drawing layer's
// streaming buffer: each target's GL writes it its own way.
#pragma once

#include <cstddef>

// Where to write `sizeBytes` bytes that go at `startBytes` into the buffer; null when the range
// cannot be written. endStreamWrite hands them over.
void* beginStreamWrite(size_t startBytes, size_t sizeBytes);
void endStreamWrite();
