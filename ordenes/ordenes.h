#pragma once

#include <string>
#include <vector>

#include "consola.h"

// Sin argumentos, o solo con --traza, el programa abre la ventana.
bool ConVentana(const std::vector<std::string>& argumentos);

// El programa sin ventana: lee los argumentos (sin el nombre del programa, en UTF-8), hace lo
// pedido y devuelve el código de salida: 0 todo bien, 1 algún indicador falló o el puerto no
// abrió, 2 una orden mal dada, sin haber enviado nada.
int EjecutarOrdenes(const std::vector<std::string>& argumentos, const Consola& consola);
