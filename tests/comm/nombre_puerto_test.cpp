#include "nombre_puerto.h"

#include <gtest/gtest.h>

#include "ajustes.h"
#include "carpeta_temporal.h"

using namespace almacen;
using namespace comm;

namespace {

class NombrePuertoTest : public EnCarpetaTemporal {};

// La clave se lee en cada consulta: la ventana la escribe al elegir un adaptador nuevo.
TEST_F(NombrePuertoTest, ElAjustePuertosMandaYUnDispositivoFijoMandaSobreTodo) {
  const MapaPuertos mapa(ajustes_);
  EXPECT_EQ(mapa.Asignado(3), std::nullopt);
  ajustes_.EscribirIni("Puertos", "Com3", "/dev/ttyUSB0");
  EXPECT_EQ(mapa.Dispositivo(3), "/dev/ttyUSB0");
  EXPECT_EQ(mapa.Asignado(3), "/dev/ttyUSB0");
  const MapaPuertos fijo = MapaPuertos::Fijo("/dev/otro");
  EXPECT_EQ(fijo.Dispositivo(3), "/dev/otro");
  EXPECT_EQ(fijo.Dispositivo(200), "/dev/otro");
  EXPECT_EQ(fijo.Asignado(3), std::nullopt);
}

#ifdef _WIN32
TEST_F(NombrePuertoTest, SinAjusteEsElCOMDelMismoNumero) {
  ajustes_.EscribirIni("Puertos", "Com3", "COM7");
  const MapaPuertos mapa(ajustes_);
  EXPECT_EQ(mapa.Dispositivo(1), "COM1");
  EXPECT_EQ(mapa.Dispositivo(3), "COM7");
  EXPECT_EQ(mapa.Dispositivo(12), "COM12");
}
#else
TEST_F(NombrePuertoTest, SinAjusteEsElTtySDelNumeroAnterior) {
  const MapaPuertos mapa(ajustes_);
  EXPECT_EQ(mapa.Dispositivo(1), "/dev/ttyS0");
  EXPECT_EQ(mapa.Dispositivo(8), "/dev/ttyS7");
}
#endif

TEST(NumeroCom, SoloNombresCOMDeUnPuertoAdmitido) {
  const std::pair<const char*, long> casos[] = {
      {"COM1", 1}, {"COM12", 12}, {"com255", 255}, {"COM256", 0}, {"COM0", 0},   {"COM07", 0},
      {"COM", 0},  {"COM1a", 0},  {"LPT1", 0},     {"", 0},       {"COM1000", 0}};
  for (const auto& [nombre, numero] : casos) EXPECT_EQ(NumeroCom(nombre), numero) << nombre;
}

}  // namespace
