#pragma once

#include <string>
#include <vector>

#include "consola.h"

namespace ordenes {

// Sin argumentos, o solo con --traza, el programa abre la ventana. También con un solo argumento
// que es un archivo que existe: un membrete soltado sobre el programa o abierto con él. La
// ventana abre como siempre; el membrete se elige con "Buscar Archivo" después de conectar.
bool ConVentana(const std::vector<std::string>& argumentos);

// La ventana con traza para el técnico: --traza está entre los argumentos.
bool PideTraza(const std::vector<std::string>& argumentos);

// El programa sin ventana: lee los argumentos (sin el nombre del programa, en UTF-8), hace lo
// pedido y devuelve el código de salida: 0 todo bien, 1 algún indicador falló o el puerto no
// abrió, 2 una orden mal dada, sin haber enviado nada.
int EjecutarOrdenes(const std::vector<std::string>& argumentos, const Consola& consola);

}  // namespace ordenes
