#include "ordenes.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "lista_puertos.h"
#include "pasos.h"
#include "trabajo.h"

using namespace almacen;
using namespace comm;
using namespace carga;

namespace ordenes {

namespace {

const char kAyuda[] =
    "Uso: cargador_membrete [TAREA] [OPCIONES]\n"
    "Sin argumentos, solo con --traza o con solo un archivo (un membrete soltado sobre el\n"
    "programa) abre la ventana.\n"
    "\n"
    "Tareas (una):\n"
    "  --subir ARCHIVO     sube el membrete (75 bytes como máximo) desde el registro 26\n"
    "  --leer              muestra el membrete que tiene el indicador, hasta su primer NUL\n"
    "      --hex           en hexadecimal\n"
    "  --conectar          sondeo de registros y, si no responde, la orden M; muestra y guarda\n"
    "                      en Brun_Kqt.ini las 78 claves \"Setup\" que devuelva\n"
    "  --buscar            busca los indicadores de la línea, su ID y su velocidad, sin\n"
    "                      escribir nada: una línea \"ID n a V baudios\" por cada uno; por\n"
    "                      omisión a 1200, 2400, 4800 y 9600 baudios y con los ID 1 a 247\n"
    "  --puertos           los puertos serie de esta PC y el ComN que es cada uno\n"
    "  --ayuda, --help     este texto\n"
    "\n"
    "Opciones (valen solo para esta vez; Brun_Kqt.ini no cambia):\n"
    "  --puerto N          el puerto ComN (1 a 255)\n"
    "  --dispositivo RUTA  el dispositivo del puerto, p. ej. /dev/ttyUSB0\n"
    "  --baudios V         1200, 2400, 4800, 9600 o 19200; con --buscar, una lista (2400,9600)\n"
    "  --id LISTA          IDs de los indicadores, 0 a 255, p. ej. 1,3,5-8: la tarea se hace\n"
    "                      con cada uno en turno y termina con una tabla; con --buscar, los\n"
    "                      que se prueban (1 a 255)\n"
    "  --traza             anota cada petición y respuesta en Brun_Kqt.log, junto al programa\n"
    "\n"
    "La salida estándar lleva lo pedido (membretes, claves, puertos); la de errores, el avance,\n"
    "la tabla y los errores. Código de salida: 0 todos los indicadores bien, 1 alguno falló,\n"
    "2 orden mal dada (no se envió nada). --buscar: 0 si contestó alguno, 1 si ninguno.\n"
    "\n"
    "Ejemplo: nadie recuerda el ID ni la velocidad del indicador de Com1.\n"
    "  $ cargador_membrete --buscar\n"
    "  Puerto Com1 (/tmp/h8demo/indicador)\n"
    "  ID 37 a 2400 baudios\n"
    "  La orden M contestó a 2400 baudios: se probaron los ID solo allí.\n"
    "  Contestó 1 indicador, en 29,2 s.\n"
    "  Para usarlo: --puerto 1 --baudios 2400 --id 37\n";

// El membrete de --subir con su NUL, o una línea que dice por qué no sirve. A diferencia de la
// ventana, un archivo que no existe es un error: no se sube un membrete vacío por un nombre mal
// escrito.
std::string MembreteDeArchivo(const std::filesystem::path& carpeta, const std::string& nombre,
                              std::string& membrete) {
  const std::filesystem::path archivo = carpeta / std::filesystem::u8path(nombre);
  std::error_code ec;
  if (!std::filesystem::exists(archivo, ec)) return "No existe el archivo: " + nombre;
  const LecturaMembrete lectura = LeerMembrete(archivo);
  switch (lectura.estado) {
    case EstadoLectura::Leido:
      membrete = lectura.texto;
      return "";
    case EstadoLectura::DemasiadoLargo:
      return "El archivo " + nombre + " tiene más de 75 bytes";
    case EstadoLectura::Error:
      break;
  }
  return "No se puede leer el archivo: " + nombre;
}

}  // namespace

bool ConVentana(const std::vector<std::string>& argumentos) {
  std::error_code ec;
  const bool archivoSoltado =
      argumentos.size() == 1 && argumentos[0].rfind('-', 0) != 0 &&
      std::filesystem::is_regular_file(std::filesystem::u8path(argumentos[0]), ec);
  return archivoSoltado || std::all_of(argumentos.begin(), argumentos.end(),
                                       [](const std::string& a) { return a == "--traza"; });
}

bool PideTraza(const std::vector<std::string>& argumentos) {
  return std::find(argumentos.begin(), argumentos.end(), "--traza") != argumentos.end();
}

int EjecutarOrdenes(const std::vector<std::string>& argumentos, const Consola& consola) {
  const LecturaOrden lectura = LeerOrden(argumentos);
  if (!lectura.error.empty()) {
    consola.errores << lectura.error << '\n';
    return 2;
  }
  const Orden& orden = lectura.orden;
  if (orden.tarea == Tarea::Ayuda) {
    consola.salida << kAyuda;
    return 0;
  }
  if (orden.tarea == Tarea::Puertos) {
    ListarPuertos(consola.puertos(), MapaPuertos(consola.ajustes), consola.salida);
    return 0;
  }
  std::string membrete;
  if (orden.tarea == Tarea::Subir) {
    const std::string error = MembreteDeArchivo(consola.ajustes.Carpeta(), orden.archivo, membrete);
    if (!error.empty()) {
      consola.errores << error << '\n';
      return 2;
    }
  }
  return CorrerTrabajo(orden, membrete, consola);
}

}  // namespace ordenes
