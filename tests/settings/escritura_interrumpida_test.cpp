// Un escritor muerto en cualquier momento deja el archivo de ajustes entero, y a lo sumo un
// temporal: el siguiente que escribe borra el de los muertos.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "ajustes.h"
#include "carpeta_temporal.h"

using namespace almacen;

namespace {

const std::string kArchivo = "Brun_Kqt.ini";
constexpr int kClaves = 12;
constexpr int kMuertes = 200;

std::string Seccion(int clave) {
  return clave % 3 == 0 ? "Global" : "Setup";
}

// Dos juegos de valores de largos bien distintos, para que un archivo cortado no pase por
// entero.
std::string Valor(int juego, int clave) {
  return juego == 0 ? std::to_string(clave)
                    : std::string(static_cast<std::size_t>(40 + 17 * clave),
                                  static_cast<char>('a' + clave));
}

void EscribirJuego(int juego) {
  for (int clave = 1; clave <= kClaves; ++clave) {
    Ajustes::DeLaCarpetaActual().EscribirIni(Seccion(clave), std::to_string(clave),
                                             Valor(juego, clave));
  }
}

[[noreturn]] void Escritor() {
  for (;;) {
    EscribirJuego(1);
    EscribirJuego(0);
  }
}

// Entero: cada clave se lee con un valor completo de uno de los dos juegos. Un corte a mitad de
// línea estropea un valor; uno entre líneas pierde claves.
bool Entero() {
  for (int clave = 1; clave <= kClaves; ++clave) {
    std::string leido =
        Ajustes::DeLaCarpetaActual().LeerIni(Seccion(clave), std::to_string(clave), "falta");
    if (leido != Valor(0, clave) && leido != Valor(1, clave)) return false;
  }
  return true;
}

using EscrituraInterrumpida = EnCarpetaTemporal;

TEST_F(EscrituraInterrumpida, AKilledWriterLeavesAWholeFileAndNoTemporariesPileUp) {
  EscribirJuego(0);
  const unsigned semilla = std::random_device{}();
  SCOPED_TRACE("semilla " + std::to_string(semilla));
  std::mt19937 azar(semilla);
  std::uniform_int_distribution<int> espera_us(0, 3000);
  const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(20);

  std::set<std::string> deMuertos;
  int muertes = 0, con_resto = 0;
  while (muertes < kMuertes && std::chrono::steady_clock::now() < limite) {
    const pid_t escritor = fork();
    ASSERT_GE(escritor, 0);
    if (escritor == 0) Escritor();
    usleep(static_cast<useconds_t>(espera_us(azar)));
    kill(escritor, SIGKILL);
    int estado = 0;
    ASSERT_EQ(waitpid(escritor, &estado, 0), escritor);
    ASSERT_TRUE(WIFSIGNALED(estado));
    ++muertes;
    deMuertos.insert(kArchivo + "." + std::to_string(escritor) + ".tmp");

    ASSERT_TRUE(Entero()) << "tras " << muertes << " muertes:\n" << Contenido(kArchivo);
    std::set<std::string> restos = Entradas();
    restos.erase(kArchivo);
    ASSERT_LE(restos.size(), 1u);
    if (!restos.empty()) {
      EXPECT_EQ(deMuertos.count(*restos.begin()), 1u) << *restos.begin();
      ++con_resto;
    }
  }
  EXPECT_EQ(muertes, kMuertes);
  ajustes_.EscribirIni("Global", "Otra", 1);
  EXPECT_EQ(Entradas(), std::set<std::string>{kArchivo});
  std::printf("%d escritores muertos; tras %d quedaba un temporal\n", muertes, con_resto);
}

TEST_F(EscrituraInterrumpida, ALeftoverTemporaryNeitherHidesNorSpoilsTheFile) {
  ajustes_.EscribirIni("Global", "Comm", 3);
  Crear(kArchivo + ".999999.tmp", "[Global]\r\nCo");
  EXPECT_EQ(ajustes_.LeerIni("Global", "Comm", 1), "3");
  ajustes_.EscribirIni("Global", "Comm", 4);
  EXPECT_EQ(Contenido(kArchivo), "[Global]\r\nComm=4.\r\n");
  EXPECT_EQ(ajustes_.LeerIni("Global", "Comm", 1), "4");
}

}  // namespace
