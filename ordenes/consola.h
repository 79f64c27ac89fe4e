#pragma once

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "puerto_control.h"

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
  PuertoControl& puerto;
  std::function<std::vector<PuertoDelSistema>()> puertos;
  std::filesystem::path carpetaPrograma;  // allí va la traza, como la de la ventana
  // Los archivos que nombra la orden son relativos a la carpeta desde la que se dio, aunque
  // los ajustes se busquen en otra.
  std::filesystem::path carpetaOrden;
};
