#include "pasos.h"

#include <gtest/gtest.h>

#include "comunicacion.h"
#include "indicador_falso.h"
#include "puerto_control_falso.h"

namespace {

// La lectura del membrete llega hasta el NUL del más largo: 75 bytes y su NUL son 38 registros.
TEST(LeerMembreteIndicador, TraeElMembreteMasLargoConSuNul) {
  PuertoControlFalso puerto;
  IndicadorFalso indicador;
  indicador.Conectar(puerto.linea);
  // 'x' y NUL del registro 26 al 63; el 64 ya no es del membrete.
  for (int r = 26; r < 63; ++r) indicador.registros[r] = 'x' << 8 | 'x';
  indicador.registros[63] = 'x';
  indicador.registros[64] = 'y' << 8 | 'y';
  const std::string membrete = std::string(kLargoMaximoMembrete, 'x') + '\0';

  Peticion peticion;
  peticion.linea = {1, 3, 5};
  const auto leido = LeerMembreteIndicador(peticion, [&](Peticion& p) {
    AbrirPuerto(puerto, p);
    HacerPeticion(p, puerto, Dialogo{});
  });
  ASSERT_TRUE(leido.motivo.Exito()) << TextoMotivo(leido.motivo);
  EXPECT_EQ(leido.datos, membrete);
}

}  // namespace
