// Fuzzes the image loader, seeded with tests/corpus/jpeg; the normal tests
// replay every file there.
#include "fuzz_load.h"
