// The body every decoder's fuzz target shares: the loader sniffs the
// content, so each target differs only in the corpus that seeds it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/imageio/image_file.h"
#include "fuzz_limits.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vorq::TFastDIB image;
  std::string error;
  if (vorq::LoadImageMemory(data, size, image, error)) {
    // Touch the corners so a wrong row table would show up under ASan.
    volatile uint8_t sink = image.Row(0)[0];
    sink = image.Row(image.Height() - 1)[3 * image.Width() - 1];
    (void)sink;
  } else if (error.empty()) {
    __builtin_trap();  // every refusal carries a reason
  }
  return 0;
}
