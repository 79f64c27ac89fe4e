#include "pasos.h"

#include <gtest/gtest.h>

#include "comunicacion.h"
#include "indicador_guionado.h"
#include "puerto_control_falso.h"

namespace {

// La lectura del membrete llega hasta el NUL del más largo: 75 bytes y su NUL son 38 registros.
TEST(LeerMembreteIndicador, TraeElMembreteMasLargoConSuNul) {
  PuertoControlFalso puerto;
  IndicadorGuionado indicador(puerto.linea, 5);
  const std::string membrete = std::string(kLargoMaximoMembrete, 'x') + '\0';
  indicador.Guardar(26, membrete);
  indicador.Guardar(64, "yy");  // el registro siguiente no es del membrete

  Peticion peticion;
  peticion.linea = {1, 3, 5};
  const auto leido = LeerMembreteIndicador(peticion, [&](Peticion& p) {
    AbrirPuerto(puerto, p);
    HacerPeticion(p, puerto, Dialogo{});
  });
  ASSERT_TRUE(leido);
  EXPECT_EQ(*leido, membrete);
}

}  // namespace
