#include "nombre_puerto.h"

#include <gtest/gtest.h>

#include "ajustes.h"
#include "carpeta_temporal.h"

namespace {

class NombrePuertoTest : public EnCarpetaTemporal {};

TEST_F(NombrePuertoTest, ElAjustePuertosManda) {
  EscribirIni("Puertos", "Com3", "/dev/ttyUSB0");
  EXPECT_EQ(NombrePuerto(3), "/dev/ttyUSB0");
}

#ifdef _WIN32
TEST_F(NombrePuertoTest, SinAjusteEsElCOMDelMismoNumero) {
  EscribirIni("Puertos", "Com3", "COM7");
  EXPECT_EQ(NombrePuerto(1), "COM1");
  EXPECT_EQ(NombrePuerto(3), "COM7");
  EXPECT_EQ(NombrePuerto(12), "COM12");
}
#else
TEST_F(NombrePuertoTest, SinAjusteEsElTtySDelNumeroAnterior) {
  EXPECT_EQ(NombrePuerto(1), "/dev/ttyS0");
  EXPECT_EQ(NombrePuerto(8), "/dev/ttyS7");
}
#endif

TEST(NumeroCom, SoloNombresCOMDeUnPuertoAdmitido) {
  const std::pair<const char*, long> casos[] = {
      {"COM1", 1}, {"COM12", 12}, {"com255", 255}, {"COM256", 0}, {"COM0", 0},   {"COM07", 0},
      {"COM", 0},  {"COM1a", 0},  {"LPT1", 0},     {"", 0},       {"COM1000", 0}};
  for (const auto& [nombre, numero] : casos) EXPECT_EQ(NumeroCom(nombre), numero) << nombre;
}

}  // namespace
