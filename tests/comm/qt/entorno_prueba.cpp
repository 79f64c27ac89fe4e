#include "entorno_prueba.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

#include "nombre_puerto.h"

using namespace almacen;
using namespace comm;

void Apuntar(Peticion& peticion, const Seleccion& seleccion) {
  peticion.seleccion = seleccion;
  peticion.dispositivo =
      MapaPuertos(almacen::Ajustes::DeLaCarpetaActual()).Dispositivo(seleccion.puerto);
}

CarpetaDeTrabajo::CarpetaDeTrabajo(const QByteArray& ajustes) : anterior_(QDir::currentPath()) {
  QDir::setCurrent(dir_.path());
  if (!ajustes.isEmpty()) Ajustes(ajustes);
}

CarpetaDeTrabajo::~CarpetaDeTrabajo() {
  QDir::setCurrent(anterior_);
}

void CarpetaDeTrabajo::Ajustes(const QByteArray& ajustes) const {
  QFile archivo(Ruta("Brun_Kqt.ini"));
  if (archivo.open(QIODevice::WriteOnly | QIODevice::Truncate)) archivo.write(ajustes);
}

QByteArray AjustesHacia(const QString& pty, int baudios) {
  return "[Puertos]\r\nCom1=" + QFile::encodeName(pty) +
         ".\r\n[Global]\r\nComm=1.\r\nBaudios=" + QByteArray::number(baudios) + ".\r\nID_1=1.\r\n";
}

Simulador::Simulador(const QStringList& argumentos) {
  proceso_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  proceso_.start(QStringLiteral(SIMULADOR_BIN), argumentos);
  // Su primera línea dice dónde está el pseudoterminal.
  while (!proceso_.canReadLine() && proceso_.waitForReadyRead(5000)) {
  }
  const QByteArray linea = proceso_.readLine().trimmed();
  if (linea.startsWith("PTY ")) pty_ = QFile::decodeName(linea.mid(4));
}

Simulador::~Simulador() {
  Terminar();
}

void Simulador::Terminar() {
  if (proceso_.state() == QProcess::NotRunning) return;
  proceso_.terminate();
  if (!proceso_.waitForFinished(5000)) proceso_.kill();
  proceso_.waitForFinished();
}

Maestro::Maestro() : fd_(posix_openpt(O_RDWR | O_NOCTTY)) {
  grantpt(fd_);
  unlockpt(fd_);
}

QString Maestro::Esclavo() const {
  return QString::fromLocal8Bit(ptsname(fd_));
}

bool Maestro::Escribir(const std::string& datos) const {
  return ::write(fd_, datos.data(), datos.size()) == static_cast<ssize_t>(datos.size());
}

std::string Maestro::Leer(std::size_t n) const {
  std::string leido;
  char trozo[512];
  pollfd espera{fd_, POLLIN, 0};
  while (leido.size() < n && poll(&espera, 1, 2000) > 0) {
    const ssize_t r = ::read(fd_, trozo, sizeof trozo);
    if (r <= 0) break;
    leido.append(trozo, static_cast<std::size_t>(r));
  }
  return leido;
}

std::size_t Maestro::Pendientes() const {
  int n = 0;
  return ioctl(fd_, FIONREAD, &n) == 0 ? static_cast<std::size_t>(n) : 0;
}

void Maestro::Cerrar() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

double SegundosDeCpu() {
  rusage uso{};
  getrusage(RUSAGE_SELF, &uso);
  return uso.ru_utime.tv_sec + uso.ru_stime.tv_sec +
         (uso.ru_utime.tv_usec + uso.ru_stime.tv_usec) / 1e6;
}
