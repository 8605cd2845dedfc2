// Fuzzes the image loader, seeded with tests/corpus/bmp; the normal tests
// replay every file there.
#include "fuzz_load.h"
