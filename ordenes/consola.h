#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "ajustes.h"
#include "puerto_control.h"

namespace ordenes {

// Un puerto serie que el sistema tiene, como lo nombra el sistema.
struct PuertoDelSistema {
  std::string dispositivo;  // "/dev/ttyUSB0", "COM3"
  std::string descripcion;  // puede faltar
};

// Lo que pone cada plataforma para la línea de órdenes: los flujos, el puerto y la lista de
// puertos del sistema. Todo lo demás es del núcleo.
struct Consola {
  std::ostream& salida;   // los datos pedidos: membretes, claves "Setup", puertos, ayuda
  std::ostream& errores;  // avance, resultados y errores, para la persona
  bool terminal;          // `errores` es una terminal: muestra la barra de avance
  comm::PuertoControl& puerto;
  std::function<std::vector<PuertoDelSistema>()> puertos;
  // Los ajustes de esta ejecución, en la carpeta desde la que se dio la orden: allí va la traza,
  // y de allí parten los archivos que la orden nombra.
  almacen::Ajustes ajustes;
};

}  // namespace ordenes
