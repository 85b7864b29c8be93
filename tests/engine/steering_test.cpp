#include <gtest/gtest.h>

#include "engine/steering.h"

namespace pelmo::engine {
namespace {

TEST(AxisStep, FifthOfTheDistanceTruncatedAndBounded) {
  const std::pair<std::int64_t, std::int32_t> table[] = {
      {0, 0},  {4, 0},   {5, 1},     {-4, 0},  {-5, -1},   {9, 1},       {45, 9},
      {49, 9}, {50, 10}, {-50, -10}, {51, 10}, {1000, 10}, {-1000, -10}, {-49, -9}};
  for (auto [d, step] : table) EXPECT_EQ(AxisStep(d), step) << "d=" << d;
}

}  // namespace
}  // namespace pelmo::engine
