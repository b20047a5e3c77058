// libFuzzer's entry for one fuzz target; FUZZ_ENTRY names the entry function it drives.
#include "fuzz/fuzz_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t sizeBytes) { return FUZZ_ENTRY(data, sizeBytes); }
