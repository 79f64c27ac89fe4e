#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace almacen {

// El archivo de ajustes "Brun_Kqt.ini" de `carpeta`, buscado de nuevo en cada llamada.
struct ArchivoAjustes {
  std::string ruta;  // el hallado, o donde lo crea la primera escritura (ver RutaNativa)
  bool existe;
  bool oculto;  // oculto o de sistema (Windows): la lectura lo ignora, la escritura no
};

ArchivoAjustes UbicarAjustes(const std::filesystem::path& carpeta);

// `ruta` para las funciones de archivos de C++: en Windows va en UTF-8, en los demás sistemas
// son los bytes del nombre tal cual.
std::filesystem::path RutaNativa(const std::string& ruta);

// Los bytes del archivo; nada si no se puede leer o pasa de 1 MiB, que ningún ajuste ocupa.
std::optional<std::string> LeerArchivo(const std::string& ruta);

// Reemplaza el archivo entero: lo nuevo se escribe al lado en "<archivo>.<proceso>.tmp" y se
// renombra encima, así un fallo nunca lo deja a medias. Conserva los permisos del anterior y,
// en Linux, un enlace simbólico: se reemplaza su destino. Antes borra los temporales que dejaron
// escritores muertos a mitad de camino, nunca los de un proceso vivo. Un archivo o carpeta sin
// permiso de escritura pierde lo escrito y no queda temporal. True si el archivo quedó con
// `contenido`.
bool GuardarArchivo(const std::string& ruta, const std::string& contenido);

// El temporal de un proceso para `archivo`, y el proceso de un temporal hallado en su carpeta
// (`nombre` y `archivo` sin carpeta); nada si `nombre` no es uno de ellos.
std::string NombreTemporal(const std::string& archivo, unsigned long proceso);
std::optional<unsigned long> ProcesoDeTemporal(std::string_view nombre, std::string_view archivo);

}  // namespace almacen
