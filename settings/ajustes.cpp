#include "ajustes.h"

#include "archivo.h"
#include "ini.h"

namespace {
// The store reads a value into 255 bytes, the terminating NUL included.
constexpr std::size_t kValorMaximo = 254;
}  // namespace

std::string LeerIni(const std::string& seccion, const std::string& clave,
                    const std::string& defecto) {
  ArchivoAjustes archivo = UbicarAjustes();
  if (!archivo.existe || archivo.oculto) return defecto;
  std::optional<std::string> texto = LeerArchivo(archivo.ruta);
  if (!texto) return defecto;
  std::string valor = ValorIni(*texto, seccion, clave).value_or("").substr(0, kValorMaximo);
  if (valor.empty()) return defecto;
  valor.pop_back();  // the "." every write adds
  return valor;
}

std::string LeerIni(const std::string& seccion, const std::string& clave, long defecto) {
  return LeerIni(seccion, clave, std::to_string(defecto));
}

std::optional<std::string> ConAjuste(const std::string& texto, const std::string& seccion,
                                     const std::string& clave, const std::string& valor) {
  return ConValorIni(texto, seccion, clave, valor + ".");
}

bool IntentarEscribirIni(const std::string& seccion, const std::string& clave,
                         const std::string& valor) {
  ArchivoAjustes archivo = UbicarAjustes();
  // Un archivo que existe pero no se puede leer no se reemplaza por un solo ajuste.
  std::optional<std::string> antes = archivo.existe ? LeerArchivo(archivo.ruta) : std::string();
  if (!antes) return false;
  std::optional<std::string> despues = ConAjuste(*antes, seccion, clave, valor);
  return despues && GuardarArchivo(archivo.ruta, *despues);
}

bool IntentarEscribirIni(const std::string& seccion, const std::string& clave, long valor) {
  return IntentarEscribirIni(seccion, clave, std::to_string(valor));
}

void EscribirIni(const std::string& seccion, const std::string& clave, const std::string& valor) {
  IntentarEscribirIni(seccion, clave, valor);
}

void EscribirIni(const std::string& seccion, const std::string& clave, long valor) {
  IntentarEscribirIni(seccion, clave, valor);
}
