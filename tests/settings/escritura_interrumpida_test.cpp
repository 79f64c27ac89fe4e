// A writer killed at any moment leaves the settings file as one of the files it wrote whole.
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

namespace {

const std::string kArchivo = "Brun_Kqt.ini";
constexpr int kClaves = 12;
constexpr int kMuertes = 200;

// Two complete sets of values, of clearly different sizes, so a cut file cannot pass for a
// whole one.
std::string Valor(int juego, int clave) {
  return juego == 0 ? std::to_string(clave) : std::string(40 + 17 * clave, 'a' + clave);
}

// Rewrites every key with the values of one set, calling `despues` after each write.
template <typename Despues>
void EscribirJuego(int juego, Despues despues) {
  for (int clave = 1; clave <= kClaves; ++clave) {
    EscribirIni(clave % 3 == 0 ? "Global" : "Setup", std::to_string(clave), Valor(juego, clave));
    despues();
  }
}

class EscrituraInterrumpida : public EnCarpetaTemporal {
 protected:
  // Every file the writer below can produce, one write at a time, from the first set on.
  std::set<std::string> Posibles() {
    std::set<std::string> posibles;
    auto anotar = [&] { posibles.insert(Contenido(kArchivo)); };
    EscribirJuego(0, [] {});
    anotar();
    EscribirJuego(1, anotar);
    EscribirJuego(0, anotar);
    return posibles;
  }

  [[noreturn]] static void Escritor() {
    for (;;) {
      EscribirJuego(1, [] {});
      EscribirJuego(0, [] {});
    }
  }

  // Temporary files of the store left in the folder.
  std::vector<std::string> Temporales() const {
    std::vector<std::string> restos;
    for (const std::string& nombre : Entradas()) {
      if (nombre != kArchivo) restos.push_back(nombre);
    }
    return restos;
  }
};

TEST_F(EscrituraInterrumpida, AKilledWriterLeavesAWholeFileAndAtMostItsOwnTemporary) {
  const std::set<std::string> posibles = Posibles();
  ASSERT_EQ(posibles.size(), 2u * kClaves);

  const unsigned semilla = std::random_device{}();
  SCOPED_TRACE("semilla " + std::to_string(semilla));
  std::mt19937 azar(semilla);
  std::uniform_int_distribution<int> espera_us(0, 3000);
  const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(20);

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

    const std::string contenido = Contenido(kArchivo);
    ASSERT_EQ(posibles.count(contenido), 1u)
        << "tras " << muertes << " muertes, " << contenido.size() << " bytes";
    // The store names its temporary file after the writer; clear what this writer left so
    // each round is judged alone.
    const std::vector<std::string> restos = Temporales();
    ASSERT_LE(restos.size(), 1u);
    if (!restos.empty()) {
      EXPECT_EQ(restos[0], kArchivo + "." + std::to_string(escritor) + ".tmp");
      std::filesystem::remove(restos[0]);
      ++con_resto;
    }
  }
  EXPECT_EQ(muertes, kMuertes);
  std::printf("%d escritores muertos, %d dejaron su temporal\n", muertes, con_resto);
}

TEST_F(EscrituraInterrumpida, ALeftoverTemporaryNeitherHidesNorSpoilsTheFile) {
  EscribirIni("Global", "Comm", 3);
  Crear(kArchivo + ".999999.tmp", "[Global]\r\nCo");
  EXPECT_EQ(LeerIni("Global", "Comm", 1), "3");
  EscribirIni("Global", "Comm", 4);
  EXPECT_EQ(Contenido(kArchivo), "[Global]\r\nComm=4.\r\n");
  EXPECT_EQ(LeerIni("Global", "Comm", 1), "4");
}

}  // namespace
