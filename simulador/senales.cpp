#include "senales.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <system_error>

namespace simulador {

namespace {

int tubo[2] = {-1, -1};

extern "C" void AlTubo(int senal) {
  const int guardado = errno;
  const unsigned char byte = static_cast<unsigned char>(senal);
  (void)!write(tubo[1], &byte, 1);
  errno = guardado;
}

}  // namespace

Senales::Senales() {
  if (pipe(tubo) != 0) throw std::system_error(errno, std::generic_category(), "pipe");
  for (const int extremo : tubo) {
    fcntl(extremo, F_SETFL, fcntl(extremo, F_GETFL) | O_NONBLOCK);
    fcntl(extremo, F_SETFD, FD_CLOEXEC);
  }
  struct sigaction accion {};
  accion.sa_handler = AlTubo;
  sigemptyset(&accion.sa_mask);
  accion.sa_flags = SA_RESTART;
  for (const int senal : {SIGTERM, SIGINT, SIGUSR1, SIGUSR2}) {
    if (sigaction(senal, &accion, nullptr) != 0) {
      throw std::system_error(errno, std::generic_category(), "sigaction");
    }
  }
}

int Senales::Descriptor() const {
  return tubo[0];
}

std::vector<int> Senales::Recibidas() {
  std::vector<int> senales;
  unsigned char byte;
  while (read(tubo[0], &byte, 1) == 1) senales.push_back(byte);
  return senales;
}

}  // namespace simulador
