#include "ajustes.h"

#include <system_error>
#include <utility>

#include "archivo.h"
#include "codificacion.h"
#include "ini.h"

namespace almacen {

namespace {

// Como en Windows: el valor se lee en 255 bytes, el cero final incluido.
constexpr std::size_t kValorMaximo = 254;

std::optional<TextoIni> LeerTexto(const std::string& ruta) {
  std::optional<std::string> bytes = LeerArchivo(ruta);
  if (!bytes) return std::nullopt;
  return Decodificar(*bytes);
}

}  // namespace

Ajustes Ajustes::DeLaCarpetaActual() {
  std::error_code ec;
  // Una carpeta actual que ya no existe da una ruta vacía: el nombre suelto, que no se abrirá.
  return Ajustes(std::filesystem::current_path(ec));
}

Ajustes::Ajustes(std::filesystem::path carpeta) : carpeta_(std::move(carpeta)) {}

std::string Ajustes::LeerIni(const std::string& seccion, const std::string& clave,
                             const std::string& defecto) const {
  ArchivoAjustes archivo = UbicarAjustes(carpeta_);
  if (!archivo.existe || archivo.oculto) return defecto;
  std::optional<TextoIni> texto = LeerTexto(archivo.ruta);
  if (!texto) return defecto;
  const Codificacion codificacion = texto->codificacion;
  std::optional<std::string> hallado = ValorIni(texto->texto, TextoDeBytes(codificacion, seccion),
                                                TextoDeBytes(codificacion, clave));
  std::string valor = BytesDeTexto(codificacion, hallado.value_or("")).substr(0, kValorMaximo);
  if (valor.empty()) return defecto;
  valor.pop_back();  // el "." que agrega cada escritura
  return valor;
}

std::string Ajustes::LeerIni(const std::string& seccion, const std::string& clave,
                             long defecto) const {
  return LeerIni(seccion, clave, std::to_string(defecto));
}

std::optional<std::string> ConAjuste(const std::string& texto, const std::string& seccion,
                                     const std::string& clave, const std::string& valor) {
  return ConValorIni(texto, seccion, clave, valor + ".");
}

bool Ajustes::IntentarEscribirIni(const std::string& seccion, const std::string& clave,
                                  const std::string& valor) const {
  ArchivoAjustes archivo = UbicarAjustes(carpeta_);
  // Un archivo que existe pero no se puede leer no se reemplaza por un solo ajuste.
  std::optional<TextoIni> antes =
      archivo.existe ? LeerTexto(archivo.ruta) : TextoIni{Codificacion::Bytes, ""};
  if (!antes) return false;
  const Codificacion codificacion = antes->codificacion;
  std::optional<std::string> despues =
      ConValorIni(antes->texto, TextoDeBytes(codificacion, seccion),
                  TextoDeBytes(codificacion, clave), TextoDeBytes(codificacion, valor + "."));
  if (!despues) return false;
  // El mismo valor no toca el archivo: ni sus bytes ni su fecha.
  if (*despues == antes->texto) return true;
  return GuardarArchivo(archivo.ruta, Codificar({codificacion, *despues}));
}

bool Ajustes::IntentarEscribirIni(const std::string& seccion, const std::string& clave,
                                  long valor) const {
  return IntentarEscribirIni(seccion, clave, std::to_string(valor));
}

void Ajustes::EscribirIni(const std::string& seccion, const std::string& clave,
                          const std::string& valor) const {
  IntentarEscribirIni(seccion, clave, valor);
}

void Ajustes::EscribirIni(const std::string& seccion, const std::string& clave, long valor) const {
  IntentarEscribirIni(seccion, clave, valor);
}

}  // namespace almacen
