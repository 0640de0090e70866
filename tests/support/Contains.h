#pragma once

// Expects `text` to hold `part`, showing both when it does not.
#include <gtest/gtest.h>

#define EXPECT_CONTAINS(text, part) EXPECT_PRED_FORMAT2(::testing::IsSubstring, part, text)
