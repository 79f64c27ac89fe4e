#include "pty.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <system_error>
#include <utility>

namespace {

[[noreturn]] void Fallo(const std::string& que) {
  throw std::system_error(errno, std::generic_category(), que);
}

}  // namespace

std::optional<speed_t> VelocidadTermios(long baudios) {
  switch (baudios) {
    case 300:
      return B300;
    case 600:
      return B600;
    case 1200:
      return B1200;
    case 2400:
      return B2400;
    case 4800:
      return B4800;
    case 9600:
      return B9600;
    case 19200:
      return B19200;
    case 38400:
      return B38400;
    case 57600:
      return B57600;
    case 115200:
      return B115200;
    case 230400:
      return B230400;
    default:
      return std::nullopt;
  }
}

Pty::Pty(speed_t velocidad) {
  maestro_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (maestro_ < 0) Fallo("posix_openpt");
  if (grantpt(maestro_) != 0 || unlockpt(maestro_) != 0) Fallo("grantpt/unlockpt");
  const int banderas = fcntl(maestro_, F_GETFL);
  if (banderas < 0 || fcntl(maestro_, F_SETFL, banderas | O_NONBLOCK) != 0) Fallo("O_NONBLOCK");
  const char* ruta = ptsname(maestro_);
  if (ruta == nullptr) Fallo("ptsname");
  ruta_ = ruta;

  esclavo_ = open(ruta_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (esclavo_ < 0) Fallo(ruta_);
  termios modo{};
  if (tcgetattr(esclavo_, &modo) != 0) Fallo("tcgetattr");
  cfmakeraw(&modo);
  modo.c_cflag &= ~(CSTOPB | PARENB | CRTSCTS);
  modo.c_cflag |= CS8 | CLOCAL | CREAD;
  modo.c_iflag &= ~(IXON | IXOFF);
  cfsetispeed(&modo, velocidad);
  cfsetospeed(&modo, velocidad);
  if (tcsetattr(esclavo_, TCSANOW, &modo) != 0) Fallo("tcsetattr");
}

Pty::~Pty() {
  CerrarMaestro();
  if (esclavo_ >= 0) close(esclavo_);
}

void Pty::AtenderNuevaApertura() {
  int exclusivo = 0;
#ifdef TIOCGEXCL
  if (ioctl(esclavo_, TIOCGEXCL, &exclusivo) != 0) exclusivo = 0;
#endif
  // Quitarla siempre: sin TIOCGEXCL no sabemos si está puesta.
  ioctl(esclavo_, TIOCNXCL);
  // Cada apertura del programa pone la exclusividad; lo que haya para leer es del dueño
  // anterior y no debe mezclarse con la próxima respuesta.
  int antes = -1, despues = -1;
  ioctl(esclavo_, FIONREAD, &antes);
  if (exclusivo) tcflush(esclavo_, TCIFLUSH);
  ioctl(esclavo_, FIONREAD, &despues);
  termios t{}; tcgetattr(esclavo_, &t);
  fprintf(stderr, "excl=%d antes=%d despues=%d icanon=%d\n", exclusivo, antes, despues, !!(t.c_lflag & ICANON));
}

void Pty::CerrarMaestro() {
  if (maestro_ >= 0) close(maestro_);
  maestro_ = -1;
}

Enlace::Enlace(std::string ruta, std::string destino)
    : ruta_(std::move(ruta)), destino_(std::move(destino)) {
  struct stat datos {};
  if (lstat(ruta_.c_str(), &datos) == 0 && S_ISLNK(datos.st_mode)) unlink(ruta_.c_str());
  if (symlink(destino_.c_str(), ruta_.c_str()) != 0) Fallo(ruta_);
}

Enlace::~Enlace() {
  // Solo si sigue siendo nuestro: otro simulador pudo tomar la misma ruta.
  char leido[4096];
  const ssize_t largo = readlink(ruta_.c_str(), leido, sizeof leido);
  if (largo >= 0 && std::string(leido, static_cast<size_t>(largo)) == destino_) {
    unlink(ruta_.c_str());
  }
}
