#include "bloque_setup.h"

#include <gtest/gtest.h>

using namespace carga;

namespace {

TEST(BloqueSetup, DecodesRecordsAndSingleBytesInStoredOrder) {
  std::string bloque(90, '\0');
  for (std::size_t p = 0; p < bloque.size(); ++p) bloque[p] = static_cast<char>(p + 1);
  bloque[3] = 16;  // posiciones 4 a 6: 16, 39, 0 -> 10000
  bloque[4] = 39;
  bloque[5] = 0;
  bloque[16] = '\xFF';  // posiciones 17 a 19: el mayor número de 24 bits
  bloque[17] = '\xFF';
  bloque[18] = '\xFF';
  bloque[89] = '\xFE';

  auto valores = ValoresSetup(bloque);
  ASSERT_EQ(valores.size(), 78u);
  for (std::size_t i = 0; i < valores.size(); ++i) {
    EXPECT_EQ(valores[i].first, std::to_string(i + 1));
  }
  EXPECT_EQ(valores[0].second, 1);
  EXPECT_EQ(valores[2].second, 3);
  EXPECT_EQ(valores[3].second, 10000);
  EXPECT_EQ(valores[4].second, 7 + 256 * 8 + 65536 * 9);
  EXPECT_EQ(valores[6].second, 13);
  EXPECT_EQ(valores[7].second, 14);
  EXPECT_EQ(valores[10].second, 16777215);
  EXPECT_EQ(valores[13].second, 26);
  EXPECT_EQ(valores[14].second, 27);   // la clave "15" toma la posición 27
  EXPECT_EQ(valores[77].second, 254);  // la clave "78" toma la posición 90
}

TEST(BloqueSetup, AnyOtherLengthGivesNothing) {
  EXPECT_TRUE(ValoresSetup(std::string(89, 'a')).empty());
  EXPECT_TRUE(ValoresSetup(std::string(91, 'a')).empty());
  EXPECT_TRUE(ValoresSetup("").empty());
}

}  // namespace
