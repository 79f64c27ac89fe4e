#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace carga {

// La lectura del archivo de membrete que eligió el operador.
enum class EstadoLectura {
  Leido,           // texto trae el archivo entero (vacío si falta o está vacío)
  DemasiadoLargo,  // pasa del límite; no se leyó
  Error,           // no es un archivo común legible
};

struct LecturaMembrete {
  EstadoLectura estado;
  std::string texto;
};

// Los bytes del archivo tal cual. El tamaño se mira antes de leer y nunca se leen más de
// `limite` + 1 bytes: un archivo enorme, o uno que crece mientras tanto, no cuesta nada.
LecturaMembrete Tx(const std::filesystem::path& archivo, std::size_t limite);

}  // namespace carga
