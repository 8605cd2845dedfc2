// Fuzzes the image loader, seeded with tests/corpus/gif; the normal tests
// replay every file there.
#include "fuzz_load.h"
