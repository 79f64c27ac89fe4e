#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace almacen {

// El almacén de ajustes: "Brun_Kqt.ini" de una carpeta, buscado de nuevo en cada llamada. Los
// valores son texto de 8 bits; se guarda el valor seguido de ".". Un archivo guardado en UTF-16 o
// UTF-8 con marca se lee y se vuelve a escribir igual (ver codificacion.h).
class Ajustes {
 public:
  // La carpeta del archivo es la actual al empezar el programa, que en uso normal es la del
  // programa (el acceso directo o el lanzador inician allí). Cada main la toma una vez y la pasa.
  static Ajustes DeLaCarpetaActual();

  explicit Ajustes(std::filesystem::path carpeta);
  const std::filesystem::path& Carpeta() const { return carpeta_; }

  // El valor guardado sin su "." final, o `defecto` si falta el archivo, la sección o la clave,
  // o si lo guardado está vacío.
  std::string LeerIni(const std::string& seccion, const std::string& clave,
                      const std::string& defecto) const;
  std::string LeerIni(const std::string& seccion, const std::string& clave, long defecto) const;

  // Guarda `valor` + ".". No avisa de fallos: en un archivo que no se puede escribir se pierde.
  void EscribirIni(const std::string& seccion, const std::string& clave,
                   const std::string& valor) const;
  void EscribirIni(const std::string& seccion, const std::string& clave, long valor) const;

  // Como EscribirIni, pero dice si el archivo quedó con el valor: para avisar al operador. Un
  // valor igual al guardado da true sin tocar el archivo.
  bool IntentarEscribirIni(const std::string& seccion, const std::string& clave,
                           const std::string& valor) const;
  bool IntentarEscribirIni(const std::string& seccion, const std::string& clave, long valor) const;

 private:
  std::filesystem::path carpeta_;
};

// `texto`, un archivo de ajustes de 8 bits, con `valor` guardado como lo guarda EscribirIni.
std::optional<std::string> ConAjuste(const std::string& texto, const std::string& seccion,
                                     const std::string& clave, const std::string& valor);

}  // namespace almacen
