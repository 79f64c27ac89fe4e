#include <gtest/gtest.h>
#include <signal.h>

#include <cstdio>

#include "simulador_en_marcha.h"

namespace {

// Leer el registro 26, o el 27, de un ID.
const std::string kLeer26De1 = Hex("01 03 00 1A 00 01 A5 CD");
const std::string kLeer26De3 = Hex("03 03 00 1A 00 01 A4 2F");
const std::string kLeer26De5 = Hex("05 03 00 1A 00 01 A4 49");
const std::string kLeer27De1 = Hex("01 03 00 1B 00 01 F4 0D");
const std::string kLeer27De3 = Hex("03 03 00 1B 00 01 F5 EF");
// "C" y NUL en el registro 27, para todos.
const std::string kDifundirC = Hex("00 06 00 1B 00 43 B9 ED");

TEST(SimuladorBus, CadaIndicadorConSusRegistrosYUnoCallado) {
  const std::string volcado = RutaTemporal("bus.bin");
  const std::string membrete = RutaTemporal("bus.txt");
  SimuladorEnMarcha sim({"--id", "1,3,5", "--callar", "5", "--registro", "3:26=16961", "--volcado",
                         volcado, "--membrete", membrete});
  Puerto puerto(sim.Esclavo());
  puerto.Enviar(kLeer26De1);
  EXPECT_EQ(puerto.Recibir(7), Hex("01 03 02 00 00 B8 44"));
  puerto.Enviar(kLeer26De3);
  EXPECT_EQ(puerto.Recibir(7), Hex("03 03 02 42 41 31 14"));
  puerto.Enviar(kLeer26De5);
  EXPECT_EQ(puerto.Recibir(1, kCallado), "") << "el 5 está callado";
  puerto.Enviar(Hex("02 03 00 1A 00 01 A5 FE"));
  EXPECT_EQ(puerto.Recibir(1, kCallado), "") << "el 2 no está en la línea";

  // La orden de línea, sin dirección: contesta solo el primero.
  puerto.Enviar(":M\r\n");
  EXPECT_EQ(puerto.Recibir(90).size(), 90u);
  EXPECT_EQ(puerto.Recibir(1, kCallado), "");

  // Difusión: todos guardan, nadie contesta; el callado ni la oye.
  puerto.Enviar(kDifundirC);
  EXPECT_EQ(puerto.Recibir(1, kCallado), "");
  puerto.Enviar(kLeer27De1);
  EXPECT_EQ(puerto.Recibir(7), Hex("01 03 02 00 43 F9 B5"));
  puerto.Enviar(kLeer27De3);
  EXPECT_EQ(puerto.Recibir(7), Hex("03 03 02 00 43 80 75"));

  sim.Senal(SIGTERM);
  ASSERT_EQ(sim.Esperar(), 0);
  // Un archivo por indicador: ruta.ID.
  EXPECT_EQ(LeerArchivo(membrete + ".1"), "");
  EXPECT_EQ(LeerArchivo(membrete + ".3"), "ABC");
  EXPECT_EQ(LeerArchivo(volcado + ".1").substr(52, 4), Hex("00 00 43 00"));
  EXPECT_EQ(LeerArchivo(volcado + ".5").substr(52, 4), Hex("00 00 00 00"));
  EXPECT_EQ(LeerArchivo(volcado), "") << "con varios IDs no hay archivo sin ID";
  for (const char* id : {".1", ".3", ".5"}) {
    EXPECT_EQ(LeerArchivo(volcado + id).size(), 131072u) << id;
    std::remove((volcado + id).c_str());
    std::remove((membrete + id).c_str());
  }
}

TEST(SimuladorBus, ContestaAlIdCeroSoloSiSePide) {
  const std::string leer_26_de_0 = Hex("00 03 00 1A 00 01 A4 1C");
  {
    SimuladorEnMarcha sim({});
    Puerto puerto(sim.Esclavo());
    puerto.Enviar(leer_26_de_0);
    EXPECT_EQ(puerto.Recibir(1, kCallado), "");
    puerto.Enviar(kDifundirC);
    EXPECT_EQ(puerto.Recibir(1, kCallado), "");
    puerto.Enviar(kLeer27De1);
    EXPECT_EQ(puerto.Recibir(7), Hex("01 03 02 00 43 F9 B5")) << "la guardó sin contestar";
  }
  {
    // Contesta el primero de la lista, con su propio ID; el otro guarda igual.
    SimuladorEnMarcha sim({"--id", "2,1", "--contestar-difusion"});
    Puerto puerto(sim.Esclavo());
    puerto.Enviar(kDifundirC);
    EXPECT_EQ(puerto.Recibir(8), Hex("02 06 00 1B 00 43 B8 0F"));
    puerto.Enviar(leer_26_de_0);
    EXPECT_EQ(puerto.Recibir(7), Hex("02 03 02 00 00 FC 44"));
    EXPECT_EQ(puerto.Recibir(1, kCallado), "") << "contesta uno solo";
    puerto.Enviar(kLeer27De1);
    EXPECT_EQ(puerto.Recibir(7), Hex("01 03 02 00 43 F9 B5"));
  }
  // Un indicador con el ID 0 contesta al 0 con el 0.
  SimuladorEnMarcha sim({"--id", "0"});
  EXPECT_EQ(Pedir(sim.Esclavo(), kDifundirC, 8), kDifundirC);
}

}  // namespace
