#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ajustes.h"
#include "archivo_membrete.h"
#include "peticion.h"

namespace carga {

// Los pasos con el indicador, iguales en la ventana y en la línea de órdenes. Cada uno arma su
// petición sobre `peticion` (que ya trae la línea y la traza) y la hace con `comunicar`: la
// ventana muestra "Comunicando", la línea de órdenes la hace sobre su puerto abierto.
using Comunicar = std::function<void(comm::Peticion&)>;

inline constexpr std::size_t kLargoMaximoMembrete = 75;

// El archivo de membrete listo para subir: su contenido más un NUL.
LecturaMembrete LeerMembrete(const std::filesystem::path& archivo);

// Por dónde respondió el indicador al conectar: sus registros, la orden de línea o nada.
enum class Via { Ninguna, Registros, OrdenDeLinea };

// Sondeo de registros; solo si no trae ocho, la orden "M", cuyo bloque de configuración queda
// guardado en la sección "Setup" de `ajustes`.
struct Conexion {
  Via via;
  std::vector<std::pair<std::string, long>> setup;  // lo guardado, si respondió la orden
  comm::Motivo sondeo;                              // cómo terminó la lectura de registros
  std::optional<comm::Motivo> ordenM;               // y la orden, si se envió
};
Conexion Conectar(comm::Peticion peticion, const Comunicar& comunicar,
                  const almacen::Ajustes& ajustes);

// Lee el membrete que tiene el indicador (queda en la traza como "membrete anterior", y así se
// sabe si la línea tiene eco antes de escribir), escribe `membrete` desde el registro 26 y lo
// vuelve a leer. Éxito solo si el indicador quedó con él; si no permite leer sus registros,
// vale lo que dijeron las escrituras. Si no, el motivo de la petición que falló, o el registro
// que no quedó como se escribió.
comm::Motivo SubirMembrete(const comm::Peticion& peticion, const std::string& membrete,
                           const Comunicar& comunicar);

// Los registros del membrete tal como están, dos bytes por registro; nada y el motivo si la
// lectura no llegó entera.
comm::Entrega LeerMembreteIndicador(const comm::Peticion& peticion, const Comunicar& comunicar);

}  // namespace carga
