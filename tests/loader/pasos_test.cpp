#include "pasos.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "ajustes.h"
#include "comunicacion.h"
#include "indicador_falso.h"
#include "puerto_control_falso.h"

using namespace almacen;
using namespace comm;
using namespace carga;

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
  peticion.seleccion = {1, 3, 5};
  const auto leido = LeerMembreteIndicador(peticion, [&](Peticion& p) {
    AbrirPuerto(puerto, p);
    HacerPeticion(p, puerto, VistaComunicando{});
  });
  ASSERT_TRUE(leido.motivo.Exito()) << TextoMotivo(leido.motivo);
  EXPECT_EQ(leido.datos, membrete);
}

// Cada subida dice cómo terminó: el motivo de la petición que la decidió, o el registro que no
// quedó como se escribió. "Hola" y su NUL: cinco lecturas del membrete anterior (peticiones 0 a
// 4), tres escrituras (5 a 7) y la lectura que las verifica (8).
TEST(SubirMembrete, DiceElMotivoDeLaPeticionQueLaDecidio) {
  struct Caso {
    const char* que;
    std::function<void(IndicadorFalso&, PuertoControlFalso&)> averia;
    std::string texto;
  };
  const std::vector<Caso> casos = {
      {"todo bien", [](IndicadorFalso&, PuertoControlFalso&) {}, "aceptada"},
      {"no deja leer: vale lo escrito",
       [](IndicadorFalso& i, PuertoControlFalso&) { i.permiteLeer = false; }, "aceptada"},
      {"callado", [](IndicadorFalso& i, PuertoControlFalso&) { i.presente = false; },
       "sin respuesta"},
      {"la primera escritura sin respuesta",
       [](IndicadorFalso& i, PuertoControlFalso&) {
         i.callar = {5, 6, 7};
       },
       "sin respuesta"},
      {"la verificación sin respuesta",
       [](IndicadorFalso& i, PuertoControlFalso&) {
         i.callar = {8, 9, 10};
       },
       "sin respuesta"},
      {"no guarda", [](IndicadorFalso& i, PuertoControlFalso&) { i.guarda = false; },
       "registro 26 distinto de lo escrito"},
      {"el puerto no abre",
       [](IndicadorFalso&, PuertoControlFalso& p) { p.error = "el puerto está en uso"; },
       "no se pudo abrir /dev/x: el puerto está en uso"},
  };
  for (const Caso& c : casos) {
    PuertoControlFalso puerto;
    IndicadorFalso indicador;
    c.averia(indicador, puerto);
    indicador.Conectar(puerto.linea);
    Peticion peticion;
    peticion.seleccion = {1, 3, 1};
    peticion.dispositivo = "/dev/x";
    const Motivo subida = SubirMembrete(peticion, std::string("Hola\0", 5), [&](Peticion& p) {
      AbrirPuerto(puerto, p);
      HacerPeticion(p, puerto, VistaComunicando{});
    });
    EXPECT_EQ(TextoMotivo(subida), c.texto) << c.que;
    // Por un puerto que no abrió no se envía nada.
    if (!puerto.error.empty()) {
      EXPECT_TRUE(puerto.linea.escritos.empty());
    }
  }
}

// La conexión fallida trae los motivos de las dos peticiones: el sondeo y la orden M.
TEST(Conectar, TraeElMotivoDelSondeoYElDeLaOrden) {
  struct Caso {
    const char* que;
    bool permiteLeer;
    bool presente;
    Via via;
    std::string sondeo;
    std::string ordenM;  // vacío: no se envió
  };
  const std::vector<Caso> casos = {
      {"registros", true, true, Via::Registros, "aceptada", ""},
      {"callado", true, false, Via::Ninguna, "sin respuesta", "sin respuesta"},
      {"no deja leer", false, true, Via::Ninguna, "excepción 2", "sin respuesta"},
  };
  for (const Caso& c : casos) {
    PuertoControlFalso puerto;
    IndicadorFalso indicador;
    indicador.permiteLeer = c.permiteLeer;
    indicador.presente = c.presente;
    indicador.Conectar(puerto.linea);
    Peticion peticion;
    peticion.seleccion = {1, 3, 1};
    // Ninguno contesta la orden M: no se guarda nada.
    const Conexion conexion = Conectar(
        peticion,
        [&](Peticion& p) {
          AbrirPuerto(puerto, p);
          HacerPeticion(p, puerto, VistaComunicando{});
        },
        Ajustes("no-se-escribe"));
    EXPECT_EQ(conexion.via, c.via) << c.que;
    EXPECT_EQ(TextoMotivo(conexion.sondeo), c.sondeo) << c.que;
    EXPECT_EQ(conexion.ordenM ? TextoMotivo(*conexion.ordenM) : "", c.ordenM) << c.que;
  }
}

}  // namespace
