// Fuzzes the image loader, seeded with tests/corpus/png; the normal tests
// replay every file there.
#include "fuzz_load.h"
