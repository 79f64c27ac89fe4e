#include "puertos_ventana.h"

#include <gtest/gtest.h>

#include "ajustes.h"
#include "carpeta_temporal.h"

using namespace almacen;
using namespace comm;
using namespace carga;

namespace {

class PuertosVentanaTest : public EnCarpetaTemporal {
 protected:
  // Un adaptador falso en la carpeta by-id de la prueba.
  std::string Adaptador(const std::string& nombre) {
    std::filesystem::create_directories(carpeta_ / "by-id");
    Crear(carpeta_ / "by-id" / nombre, "");
    return (carpeta_ / "by-id" / nombre).string();
  }
  std::vector<std::string> Adaptadores() const { return AdaptadoresEn(carpeta_ / "by-id"); }
};

// La lista llega al más alto de: 8, el guardado, los COM de la PC y las claves de [Puertos].
TEST_F(PuertosVentanaTest, LlegaAlPuertoMasAlto) {
  EXPECT_EQ(ArmarPuertos({}, 0, MapaPuertos(ajustes_)).nombres.size(), 8u);
  EXPECT_EQ(ArmarPuertos({}, 3, MapaPuertos(ajustes_)).nombres.size(), 8u);
  EXPECT_EQ(ArmarPuertos({}, 12, MapaPuertos(ajustes_)).nombres.size(), 12u);
  EXPECT_EQ(ArmarPuertos({{3, 20}, {}}, 1, MapaPuertos(ajustes_)).nombres.size(), 20u);
  EXPECT_EQ(ArmarPuertos({{0, 300}, {}}, 1, MapaPuertos(ajustes_)).nombres.size(), 255u);
  ajustes_.EscribirIni("Puertos", "Com10", "/dev/ttyUSB0");
  const PuertosVentana puertos = ArmarPuertos({}, 1, MapaPuertos(ajustes_));
  ASSERT_EQ(puertos.nombres.size(), 10u);
  EXPECT_EQ(puertos.nombres.front(), "Com1");
  EXPECT_EQ(puertos.nombres.back(), "Com10");
  EXPECT_TRUE(puertos.nuevos.empty());
}

// Cada adaptador sin clave toma el siguiente número libre tras el 8 y tras las claves; uno ya
// nombrado, por su nombre estable o por el dispositivo al que lleva, no se repite.
TEST_F(PuertosVentanaTest, AdaptadoresNuevosTrasLosAsignados) {
  const std::string a = Adaptador("usb-A-if00");
  const std::string b = Adaptador("usb-B-if00");
  EXPECT_EQ(ArmarPuertos({{}, Adaptadores()}, 1, MapaPuertos(ajustes_)).nuevos,
            (std::map<long, std::string>{{9, a}, {10, b}}));
  EXPECT_EQ(ArmarPuertos({{}, Adaptadores()}, 9, MapaPuertos(ajustes_)).nuevos,
            (std::map<long, std::string>{{10, a}, {11, b}}));

  ajustes_.EscribirIni("Puertos", "Com12", "/dev/ttyS2");
  ajustes_.EscribirIni("Puertos", "Com2", a);
  PuertosVentana puertos = ArmarPuertos({{}, Adaptadores()}, 1, MapaPuertos(ajustes_));
  EXPECT_EQ(puertos.nuevos, (std::map<long, std::string>{{13, b}}));
  EXPECT_EQ(puertos.nombres.size(), 13u);

  std::filesystem::create_symlink(b, carpeta_ / "ttyUSB0");
  ajustes_.EscribirIni("Puertos", "Com3", (carpeta_ / "ttyUSB0").string());
  EXPECT_TRUE(ArmarPuertos({{}, Adaptadores()}, 1, MapaPuertos(ajustes_)).nuevos.empty());
}

TEST_F(PuertosVentanaTest, ElNombreEstableEsElAdaptadorQueLlevaAlDispositivo) {
  Crear(carpeta_ / "ttyUSB0", "");
  std::filesystem::create_directories(carpeta_ / "by-id");
  std::filesystem::create_symlink(carpeta_ / "ttyUSB0", carpeta_ / "by-id" / "usb-A-if00");
  const std::string usb0 = (carpeta_ / "ttyUSB0").string();
  EXPECT_EQ(NombreEstable(usb0, Adaptadores()), (carpeta_ / "by-id" / "usb-A-if00").string());
  EXPECT_EQ(NombreEstable("/dev/ttyS0", Adaptadores()), "/dev/ttyS0");
}

TEST_F(PuertosVentanaTest, SinCarpetaNoHayAdaptadores) {
  EXPECT_TRUE(AdaptadoresEn(carpeta_ / "no-existe").empty());
}

}  // namespace
