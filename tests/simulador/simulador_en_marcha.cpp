#include "simulador_en_marcha.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <system_error>
#include <thread>

namespace {

using Reloj = std::chrono::steady_clock;

int Restante(Reloj::time_point hasta) {
  const auto ms = std::chrono::ceil<std::chrono::milliseconds>(hasta - Reloj::now()).count();
  return ms > 0 ? static_cast<int>(ms) : 0;
}

// Arranca el simulador con su salida estándar en un tubo; devuelve el pid y el extremo lector.
pid_t Lanzar(const std::vector<std::string>& opciones, int* lector) {
  int tubo[2];
  if (pipe(tubo) != 0) throw std::system_error(errno, std::generic_category(), "pipe");
  std::vector<char*> argv{const_cast<char*>(RUTA_SIMULADOR)};
  for (const auto& opcion : opciones) argv.push_back(const_cast<char*>(opcion.c_str()));
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(tubo[1], STDOUT_FILENO);
    close(tubo[0]);
    close(tubo[1]);
    execv(RUTA_SIMULADOR, argv.data());
    _exit(127);
  }
  close(tubo[1]);
  *lector = tubo[0];
  return pid;
}

// Lee del tubo hasta su fin o, con `un_renglon`, hasta el primer fin de renglón; como mucho 5 s.
std::string LeerTubo(int lector, bool un_renglon) {
  const auto hasta = Reloj::now() + std::chrono::seconds(5);
  std::string texto;
  char c;
  pollfd vigilado{lector, POLLIN, 0};
  while (poll(&vigilado, 1, Restante(hasta)) > 0 && read(lector, &c, 1) == 1) {
    if (un_renglon && c == '\n') break;
    texto += c;
  }
  return texto;
}

int EsperarHijo(pid_t pid) {
  const auto hasta = Reloj::now() + std::chrono::seconds(5);
  int estado = 0;
  while (waitpid(pid, &estado, WNOHANG) == 0) {
    if (Reloj::now() > hasta) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return WIFEXITED(estado) ? WEXITSTATUS(estado) : 128 + WTERMSIG(estado);
}

}  // namespace

std::string Hex(const std::string& texto) {
  std::istringstream entrada(texto);
  std::string bytes;
  unsigned byte;
  while (entrada >> std::hex >> byte) bytes += static_cast<char>(byte);
  return bytes;
}

SimuladorEnMarcha::SimuladorEnMarcha(const std::vector<std::string>& opciones) {
  int lector;
  pid_ = Lanzar(opciones, &lector);
  const std::string anuncio = LeerTubo(lector, true);
  close(lector);
  if (anuncio.rfind("PTY ", 0) != 0) {
    kill(pid_, SIGKILL);
    EsperarHijo(pid_);
    throw std::runtime_error("el simulador no anunció su esclavo: \"" + anuncio + "\"");
  }
  esclavo_ = anuncio.substr(4);
}

SimuladorEnMarcha::~SimuladorEnMarcha() {
  if (pid_ < 0) return;
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
}

void SimuladorEnMarcha::Senal(int senal) const {
  kill(pid_, senal);
}

int SimuladorEnMarcha::Esperar() {
  const int codigo = EsperarHijo(pid_);
  if (codigo >= 0) pid_ = -1;
  return codigo;
}

Ejecucion Ejecutar(const std::vector<std::string>& opciones) {
  int lector;
  const pid_t pid = Lanzar(opciones, &lector);
  const std::string salida = LeerTubo(lector, false);
  close(lector);
  return {EsperarHijo(pid), salida};
}

Puerto::Puerto(const std::string& ruta, bool exclusivo)
    : fd_(open(ruta.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {
  if (fd_ < 0) throw std::system_error(errno, std::generic_category(), ruta);
  if (exclusivo) ioctl(fd_, TIOCEXCL);
  termios modo{};
  tcgetattr(fd_, &modo);
  cfmakeraw(&modo);
  modo.c_cflag |= CLOCAL | CREAD;
  tcsetattr(fd_, TCSANOW, &modo);
}

Puerto::~Puerto() {
  close(fd_);
}

void Puerto::Velocidad(long baudios) const {
  const speed_t velocidad = baudios == 2400 ? B2400 : baudios == 9600 ? B9600 : B1200;
  termios modo{};
  tcgetattr(fd_, &modo);
  cfsetispeed(&modo, velocidad);
  cfsetospeed(&modo, velocidad);
  tcsetattr(fd_, TCSANOW, &modo);
}

void Puerto::Enviar(const std::string& bytes) const {
  if (write(fd_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
    throw std::system_error(errno, std::generic_category(), "write");
  }
}

std::string Puerto::Recibir(size_t cuantos, std::chrono::milliseconds plazo) const {
  const auto hasta = Reloj::now() + plazo;
  std::string bytes;
  pollfd vigilado{fd_, POLLIN, 0};
  while (bytes.size() < cuantos && poll(&vigilado, 1, Restante(hasta)) > 0) {
    char bloque[256];
    const ssize_t leidos = read(fd_, bloque, std::min(sizeof bloque, cuantos - bytes.size()));
    if (leidos <= 0) break;
    bytes.append(bloque, static_cast<size_t>(leidos));
  }
  return bytes;
}

std::vector<Puerto::Llegada> Puerto::RecibirConHoras(size_t cuantos,
                                                     std::chrono::milliseconds plazo) const {
  const auto hasta = Reloj::now() + plazo;
  std::vector<Llegada> llegadas;
  pollfd vigilado{fd_, POLLIN, 0};
  char byte;
  while (llegadas.size() < cuantos && poll(&vigilado, 1, Restante(hasta)) > 0 &&
         read(fd_, &byte, 1) == 1) {
    llegadas.push_back({byte, Reloj::now()});
  }
  return llegadas;
}

bool Puerto::Colgado(std::chrono::milliseconds plazo) const {
  pollfd vigilado{fd_, POLLIN, 0};
  if (poll(&vigilado, 1, static_cast<int>(plazo.count())) <= 0) return false;
  char byte;
  return (vigilado.revents & POLLHUP) || read(fd_, &byte, 1) <= 0;
}

std::string Pedir(const std::string& esclavo, const std::string& peticion, size_t cuantos) {
  Puerto puerto(esclavo);
  puerto.Enviar(peticion);
  return puerto.Recibir(cuantos);
}

std::string LeerArchivo(const std::string& ruta) {
  std::ifstream archivo(ruta, std::ios::binary);
  return {std::istreambuf_iterator<char>(archivo), std::istreambuf_iterator<char>()};
}

std::string RutaTemporal(const std::string& nombre) {
  return testing::TempDir() + "simulador_" + std::to_string(getpid()) + "_" + nombre;
}
