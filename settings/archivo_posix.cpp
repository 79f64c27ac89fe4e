#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "archivo.h"
#include "nombres.h"

namespace almacen {

namespace {

constexpr char kNombre[] = "Brun_Kqt.ini";

// Llama a `accion` con el nombre de cada entrada de la carpeta, hasta que devuelva true.
template <typename Accion>
void RecorrerCarpeta(const std::string& carpeta, Accion accion) {
  DIR* abierta = opendir(carpeta.c_str());
  if (abierta == nullptr) return;
  for (dirent* entrada = readdir(abierta); entrada != nullptr; entrada = readdir(abierta)) {
    if (accion(std::string(entrada->d_name))) break;
  }
  closedir(abierta);
}

// Una entrada de `carpeta` cuyo nombre solo difiere del usual en mayúsculas.
std::optional<std::string> ConOtrasMayusculas(const std::string& carpeta) {
  std::optional<std::string> hallado;
  RecorrerCarpeta(carpeta, [&](const std::string& nombre) {
    if (IgualesSinMayusculas(nombre, kNombre)) hallado = nombre;
    return hallado.has_value();
  });
  return hallado;
}

// Un enlace simbólico se sigue hasta el archivo al que apunta, para reemplazar ese y dejar el
// enlace. Lo que no existe se escribe donde se nombró.
std::string Destino(const std::string& ruta) {
  char* real = realpath(ruta.c_str(), nullptr);
  if (real == nullptr) return ruta;
  std::string destino = real;
  std::free(real);
  return destino;
}

bool Vivo(unsigned long proceso) {
  return kill(static_cast<pid_t>(proceso), 0) == 0 || errno == EPERM;
}

// Los temporales de escritores muertos antes de renombrar se borran, para que no se acumulen.
void BorrarHuerfanos(const std::string& destino) {
  const std::size_t corte = destino.rfind('/') + 1;  // 0 sin carpeta
  const std::string carpeta = destino.substr(0, corte);
  RecorrerCarpeta(carpeta.empty() ? "." : carpeta, [&](const std::string& entrada) {
    std::optional<unsigned long> proceso = ProcesoDeTemporal(entrada, destino.substr(corte));
    if (proceso && !Vivo(*proceso)) unlink((carpeta + entrada).c_str());
    return false;
  });
}

bool EscribirTodo(int fd, const std::string& contenido) {
  std::size_t hecho = 0;
  while (hecho < contenido.size()) {
    ssize_t escritos = write(fd, contenido.data() + hecho, contenido.size() - hecho);
    if (escritos < 0 && errno == EINTR) continue;
    if (escritos <= 0) return false;
    hecho += static_cast<std::size_t>(escritos);
  }
  return true;
}

// El archivo nuevo toma dueño y modo del anterior. Solo root puede dárselo a otro dueño; los
// demás se lo quedan antes que perder lo escrito.
bool ComoAntes(int fd, const struct stat& antes) {
  if (fchown(fd, antes.st_uid, antes.st_gid) != 0 && errno != EPERM) return false;
  return fchmod(fd, antes.st_mode & 07777) == 0;
}

}  // namespace

std::filesystem::path RutaNativa(const std::string& ruta) {
  return std::filesystem::path(ruta);
}

ArchivoAjustes UbicarAjustes(const std::filesystem::path& carpeta) {
  // Sin carpeta, el nombre suelto.
  const std::string prefijo = carpeta.empty() ? "" : carpeta.string() + "/";
  const std::string ruta = prefijo + kNombre;
  struct stat datos;
  if (lstat(ruta.c_str(), &datos) == 0) return {ruta, true, false};
  std::optional<std::string> otro = ConOtrasMayusculas(carpeta.empty() ? "." : carpeta.string());
  return {prefijo + otro.value_or(kNombre), otro.has_value(), false};
}

bool GuardarArchivo(const std::string& ruta, const std::string& contenido) {
  const std::string destino = Destino(ruta);
  struct stat antes;
  bool existe = stat(destino.c_str(), &antes) == 0;
  // Renombrar pasaría por encima de un archivo de solo lectura: se respeta como al escribirlo.
  if (existe && access(destino.c_str(), W_OK) != 0) return false;
  BorrarHuerfanos(destino);
  // Con el número del proceso: ningún otro escritor vivo puede estar usándolo.
  std::string temporal = NombreTemporal(destino, static_cast<unsigned long>(getpid()));
  unlink(temporal.c_str());
  int fd = open(temporal.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool escrito = EscribirTodo(fd, contenido) && (!existe || ComoAntes(fd, antes)) && fsync(fd) == 0;
  escrito = close(fd) == 0 && escrito;
  if (!escrito || rename(temporal.c_str(), destino.c_str()) != 0) {
    unlink(temporal.c_str());
    return false;
  }
  return true;
}

}  // namespace almacen
