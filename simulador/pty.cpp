#include "pty.h"

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <utility>

namespace simulador {

namespace {

[[noreturn]] void Fallo(const std::string& que) {
  throw std::system_error(errno, std::generic_category(), que);
}

}  // namespace

std::optional<speed_t> VelocidadTermios(long baudios) {
  static constexpr std::pair<long, speed_t> kVelocidades[] = {
      {300, B300},     {600, B600},       {1200, B1200},    {2400, B2400},
      {4800, B4800},   {9600, B9600},     {19200, B19200},  {38400, B38400},
      {57600, B57600}, {115200, B115200}, {230400, B230400}};
  for (const auto& [numero, constante] : kVelocidades) {
    if (numero == baudios) return constante;
  }
  return std::nullopt;
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

  // Ya abierto el nuestro: cada cierre que se vea a partir de ahora es de otro.
  vigia_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (vigia_ < 0 || inotify_add_watch(vigia_, ruta_.c_str(), IN_CLOSE) < 0) Fallo("inotify");
}

Pty::~Pty() {
  CerrarMaestro();
  if (vigia_ >= 0) close(vigia_);
  if (esclavo_ >= 0) close(esclavo_);
}

void Pty::QuitarExclusividad() {
  ioctl(esclavo_, TIOCNXCL);
}

void Pty::AtenderCierres() {
  alignas(inotify_event) char eventos[4096];
  bool cerrado = false;
  while (read(vigia_, eventos, sizeof eventos) > 0) cerrado = true;
  if (!cerrado) return;
  QuitarExclusividad();
  tcflush(esclavo_, TCIFLUSH);
}

speed_t Pty::Velocidad() const {
  termios modo{};
  return tcgetattr(maestro_, &modo) == 0 ? cfgetospeed(&modo) : B0;
}

int Pty::SinLeer() const {
  int bytes = 0;
  return ioctl(esclavo_, FIONREAD, &bytes) == 0 ? bytes : 0;
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

}  // namespace simulador
