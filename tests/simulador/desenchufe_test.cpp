#include <gtest/gtest.h>
#include <signal.h>

#include <cerrno>
#include <system_error>
#include <thread>

#include "simulador_en_marcha.h"

namespace {

using std::chrono::milliseconds;

const std::string kEscribirAB = Hex("01 06 00 1A 42 41 58 9D");
const std::string kLeer1Desde26 = Hex("01 03 00 1A 00 01 A5 CD");

// El errno con que no se abre la ruta; 0 si se abre.
int ErrorAlAbrir(const std::string& ruta) {
  try {
    Puerto puerto(ruta);
    return 0;
  } catch (const std::system_error& error) {
    return error.code().value();
  }
}

// Espera hasta 2 s a que la ruta se abra.
bool Vuelve(const std::string& ruta) {
  for (int intento = 0; intento < 200; ++intento) {
    if (ErrorAlAbrir(ruta) == 0) return true;
    std::this_thread::sleep_for(milliseconds(10));
  }
  return false;
}

// Como un adaptador USB que se quita: el puerto abierto se cuelga, la ruta desaparece; al volver,
// la misma ruta lleva a un indicador que aún tiene sus registros.
TEST(SimuladorDesenchufe, DesapareceYVuelveConSusRegistros) {
  const std::string enlace = RutaTemporal("desenchufe");
  for (const bool por_senal : {false, true}) {
    std::vector<std::string> opciones{"--enlace", enlace};
    if (!por_senal) {
      for (const char* opcion : {"--desenchufar-tras", "1", "--volver-tras", "300"}) {
        opciones.push_back(opcion);
      }
    }
    SimuladorEnMarcha sim(opciones);
    {
      Puerto puerto(enlace);
      puerto.Enviar(kEscribirAB);
      EXPECT_EQ(puerto.Recibir(8), kEscribirAB);
      if (por_senal) sim.Senal(SIGUSR2);
      EXPECT_TRUE(puerto.Colgado(milliseconds(2000))) << "señal " << por_senal;
    }
    EXPECT_EQ(ErrorAlAbrir(enlace), ENOENT) << "señal " << por_senal;
    if (por_senal) {
      std::this_thread::sleep_for(milliseconds(300));
      EXPECT_EQ(ErrorAlAbrir(enlace), ENOENT) << "volvió sin la señal";
      sim.Senal(SIGUSR2);
    }
    ASSERT_TRUE(Vuelve(enlace)) << "señal " << por_senal;
    EXPECT_EQ(Pedir(enlace, kLeer1Desde26, 7), Hex("01 03 02 42 41 48 D4"));
  }
}

}  // namespace
