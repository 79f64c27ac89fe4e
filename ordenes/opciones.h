#pragma once

#include <optional>
#include <string>
#include <vector>

namespace ordenes {

enum class Tarea { Ninguna, Subir, Leer, Conectar, Buscar, Puertos, Ayuda };

// Lo que pide la línea de órdenes. Lo que falta se toma de Brun_Kqt.ini.
struct Orden {
  Tarea tarea = Tarea::Ninguna;
  std::string archivo;  // --subir, en UTF-8
  bool hex = false;
  std::optional<long> puerto;
  std::string dispositivo;    // vacío: el del número de puerto
  std::vector<long> baudios;  // posiciones (1200 · 2^p), sin repetidos; más de una solo al buscar
  std::vector<long> ids;      // en el orden dado, sin repetidos; vacío: el guardado
  bool traza = false;
};

// La orden, o una línea que dice qué está mal.
struct LecturaOrden {
  Orden orden;
  std::string error;  // vacío si la orden vale
};

// Los argumentos sin el nombre del programa, en UTF-8.
LecturaOrden LeerOrden(const std::vector<std::string>& argumentos);

}  // namespace ordenes
