// Un archivo de membrete que otro hilo reescribe sin parar mientras se lee.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "archivo_membrete.h"

using namespace carga;

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kLimite = 75;

// Bytes de los que cada prefijo se distingue: la posición i tiene 'A' + i % 26.
std::string Contenido(std::size_t largo) {
  std::string texto(largo, '\0');
  for (std::size_t i = 0; i < largo; ++i) texto[i] = static_cast<char>('A' + i % 26);
  return texto;
}

// Un archivo que otro hilo recorta a pocos bytes y hace crecer más allá del límite de una sola
// escritura, una y otra vez: el tamaño visto antes de leer a menudo no es el de la lectura.
class Creciente {
 public:
  Creciente() {
    std::ofstream(ruta_) << Contenido(kCorto);
    escritor_ = std::thread([this] { Crecer(); });
  }
  ~Creciente() {
    seguir_ = false;
    escritor_.join();
    fs::remove(ruta_);
  }
  const fs::path& Ruta() const { return ruta_; }
  // El escritor sigue cambiando el archivo (no tropezó con un error).
  bool Cambiando() const { return cambiando_; }

 private:
  static constexpr std::size_t kCorto = 10;

  void Crecer() {
    const std::string todo = Contenido(2 * kLimite);
    int fd = ::open(ruta_.c_str(), O_WRONLY | O_APPEND);
    while (seguir_) {
      if (::ftruncate(fd, kCorto) != 0) break;
      ::usleep(1);
      if (::write(fd, todo.data() + kCorto, todo.size() - kCorto) < 0) break;
      ::usleep(1);
    }
    cambiando_ = false;
    ::close(fd);
  }

  fs::path ruta_ = fs::temp_directory_path() / ("creciente_" + std::to_string(::getpid()) + ".txt");
  std::atomic<bool> seguir_{true};
  std::atomic<bool> cambiando_{true};
  std::thread escritor_;
};

// Lee hasta haber visto muchas veces los dos desenlaces, sin límite de vueltas: en una máquina
// cargada el escritor puede tardar en cambiar el archivo, pero no hay cuenta que pueda quedarse
// corta.
TEST(MembreteCreciente, NeverGivesMoreThanTheLimitNorAnythingButAPrefix) {
  Creciente archivo;
  const std::string todo = Contenido(2 * kLimite);
  constexpr int kVeces = 500;
  int leidos = 0, largos = 0;
  while ((leidos < kVeces || largos < kVeces) && archivo.Cambiando()) {
    LecturaMembrete lectura = Tx(archivo.Ruta(), kLimite);
    ASSERT_NE(lectura.estado, EstadoLectura::Error);
    if (lectura.estado == EstadoLectura::DemasiadoLargo) {
      ASSERT_TRUE(lectura.texto.empty());
      ++largos;
    } else {
      ASSERT_LE(lectura.texto.size(), kLimite);
      ASSERT_EQ(lectura.texto, todo.substr(0, lectura.texto.size()));
      ++leidos;
    }
    // Deja correr al escritor si comparten procesador.
    std::this_thread::yield();
  }
  ASSERT_TRUE(archivo.Cambiando());
}

}  // namespace
