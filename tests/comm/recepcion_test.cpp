#include "recepcion.h"

#include <gtest/gtest.h>

#include "bytes_prueba.h"

using namespace comm;

namespace {

// Tres bytes de otro esclavo que, con los cinco primeros de `respuesta` detrás, forman una trama
// de 8 bytes con bytes de control correctos: una coincidencia que en la línea puede darse.
std::string PrefijoQueTapa(const std::string& respuesta) {
  for (int a = 0; a < 256; ++a) {
    for (int b = 0; b < 256; ++b) {
      const std::string prefijo = Bytes({0x02, a, b});
      if (ControlCorrecto(prefijo + respuesta.substr(0, 5))) return prefijo;
    }
  }
  return {};
}

// La trama ajena empieza antes que la respuesta y la cubre en parte: se la anota, pero la
// respuesta se busca de nuevo desde cada byte que tapa, no desde su final.
TEST(Examinar, UnaTramaAjenaCorrectaPorAzarNoTapaLaRespuesta) {
  const PeticionModbus escritura = PeticionEscritura(1, 26, 'A', 'B');
  const std::string prefijo = PrefijoQueTapa(escritura.trama);
  ASSERT_EQ(prefijo.size(), 3u);

  const Examen examen = Examinar(escritura, prefijo + escritura.trama);
  EXPECT_TRUE(examen.terminado);
  EXPECT_EQ(examen.datos, "AB");
  ASSERT_FALSE(examen.trozos.empty());
  EXPECT_EQ(examen.trozos.back().desde, 3u);
  EXPECT_EQ(examen.trozos.back().juicio.veredicto, Veredicto::Aceptada);
}

}  // namespace
