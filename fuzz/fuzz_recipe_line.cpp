// Fuzzes one recipe line on a small editor.
// Seeds and regression inputs: tests/corpus/recipe; dictionary fuzz/recipe.dict.
#include <cstdio>

#include "fuzz_editor.h"
#define VORQ_FUZZ_MAX_PIXELS (int64_t(1) << 18)  // 512 x 512: thousands of commands a second
#include "fuzz_limits.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string problem = vorq::fuzz::RecipeLine(data, size);
  if (!problem.empty()) {
    std::fprintf(stderr, "%s\n", problem.c_str());
    __builtin_trap();
  }
  return 0;
}
