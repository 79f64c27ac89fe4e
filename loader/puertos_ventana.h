#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "nombre_puerto.h"

namespace carga {

// Lo que la PC tiene, como lo da cada plataforma.
struct PuertosPc {
  std::vector<long> numeros;             // los COM<n> del sistema (Windows)
  std::vector<std::string> adaptadores;  // adaptadores USB por su nombre estable (Linux)
};

// Los adaptadores serie de `carpeta` (en Linux /dev/serial/by-id), ordenados: sus nombres no
// cambian al desenchufarlos ni al reiniciar, como sí cambia ttyUSB<n>. Nada si no existe.
std::vector<std::string> AdaptadoresEn(const std::filesystem::path& carpeta);

// El nombre estable de `dispositivo` (/dev/ttyUSB0): el adaptador que lleva a él, o él mismo si
// ninguno lo hace. Así la línea de órdenes propone para [Puertos] un nombre que no cambia.
std::string NombreEstable(const std::string& dispositivo,
                          const std::vector<std::string>& adaptadores);

// La lista de puertos de la ventana: de "Com1" al más alto entre los de la PC, las claves de
// [Puertos], el guardado en "Comm" y el 8; la posición + 1 es el número. Cada adaptador que
// ninguna clave de [Puertos] nombra toma el siguiente número libre tras los de [Puertos], el
// guardado y el 8, hasta que la elección lo guarde allí.
struct PuertosVentana {
  std::vector<std::string> nombres;
  std::map<long, std::string> nuevos;  // número -> adaptador aún sin clave en [Puertos]
};
PuertosVentana ArmarPuertos(const PuertosPc& pc, long guardado, const comm::MapaPuertos& mapa);

}  // namespace carga
