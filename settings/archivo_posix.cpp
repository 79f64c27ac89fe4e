#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "archivo.h"
#include "nombres.h"

namespace {

constexpr char kNombre[] = "Brun_Kqt.ini";

// An entry of the current directory whose name differs from the usual one only in letter case.
std::optional<std::string> ConOtrasMayusculas() {
  DIR* carpeta = opendir(".");
  if (carpeta == nullptr) return std::nullopt;
  std::optional<std::string> hallado;
  while (!hallado) {
    dirent* entrada = readdir(carpeta);
    if (entrada == nullptr) break;
    if (IgualesSinMayusculas(entrada->d_name, kNombre)) hallado = entrada->d_name;
  }
  closedir(carpeta);
  return hallado;
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

// The new file takes the old one's owner and mode. Only root can give a file to another owner;
// anyone else keeps it as their own rather than lose the write.
bool ComoAntes(int fd, const struct stat& antes) {
  if (fchown(fd, antes.st_uid, antes.st_gid) != 0 && errno != EPERM) return false;
  return fchmod(fd, antes.st_mode & 07777) == 0;
}

}  // namespace

ArchivoAjustes UbicarAjustes() {
  struct stat datos;
  if (lstat(kNombre, &datos) == 0) return {kNombre, true, false};
  std::optional<std::string> otro = ConOtrasMayusculas();
  return {otro.value_or(kNombre), otro.has_value(), false};
}

bool GuardarArchivo(const std::string& ruta, const std::string& contenido) {
  struct stat antes;
  bool existe = stat(ruta.c_str(), &antes) == 0;
  // A rename would get past a read-only file: honour it as writing into it would.
  if (existe && access(ruta.c_str(), W_OK) != 0) return false;
  // Named after the process: no other live writer can be using it, a stale one can go.
  std::string temporal = ruta + "." + std::to_string(getpid()) + ".tmp";
  unlink(temporal.c_str());
  int fd = open(temporal.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool escrito = EscribirTodo(fd, contenido) && (!existe || ComoAntes(fd, antes)) && fsync(fd) == 0;
  escrito = close(fd) == 0 && escrito;
  if (!escrito || rename(temporal.c_str(), ruta.c_str()) != 0) {
    unlink(temporal.c_str());
    return false;
  }
  return true;
}
