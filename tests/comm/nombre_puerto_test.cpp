#include "nombre_puerto.h"

#include <gtest/gtest.h>

#include "ajustes.h"
#include "carpeta_temporal.h"

namespace {

class NombrePuertoTest : public EnCarpetaTemporal {};

#ifdef _WIN32
TEST_F(NombrePuertoTest, EsElCOMDelMismoNumeroAunqueHayaAjustes) {
  EscribirIni("Puertos", "Com3", "/dev/ttyUSB0");
  EXPECT_EQ(NombrePuerto(1), "COM1");
  EXPECT_EQ(NombrePuerto(3), "COM3");
  EXPECT_EQ(NombrePuerto(12), "COM12");
}
#else
TEST_F(NombrePuertoTest, ElAjustePuertosManda) {
  EscribirIni("Puertos", "Com3", "/dev/ttyUSB0");
  EXPECT_EQ(NombrePuerto(3), "/dev/ttyUSB0");
}

TEST_F(NombrePuertoTest, SinAjusteEsElTtySDelNumeroAnterior) {
  EXPECT_EQ(NombrePuerto(1), "/dev/ttyS0");
  EXPECT_EQ(NombrePuerto(8), "/dev/ttyS7");
}
#endif

}  // namespace
