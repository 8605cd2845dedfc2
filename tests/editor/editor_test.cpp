#include <gtest/gtest.h>

#include "core/surface/fast_dib.h"

using namespace vorq;

TEST(Surface, Placeholder) { SUCCEED(); }
