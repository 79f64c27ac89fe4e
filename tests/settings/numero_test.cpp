#include "numero.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

using namespace almacen;

using namespace std::string_literals;

namespace {

TEST(EnteroDe, TakesOnlyWholeDecimalNumbersWithinLong) {
  EXPECT_EQ(EnteroDe("007"), 7);
  EXPECT_EQ(EnteroDe("+255"), 255);
  EXPECT_EQ(EnteroDe("-12"), -12);
  EXPECT_EQ(EnteroDe(std::to_string(LONG_MIN)), LONG_MIN);
  const std::string otros[] = {"",     "-",   " 1",   "1 ",   "1.5",
                               "0x1A", "+-1", "1\0"s, "\xB9", std::to_string(LONG_MAX) + "0"};
  for (const std::string& texto : otros) EXPECT_EQ(EnteroDe(texto), std::nullopt) << texto;
}

}  // namespace
