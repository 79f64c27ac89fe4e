#pragma once

#include <string>

// Escribe `valores` registros desde `primero` en el esclavo `id` del puerto `dispositivo` con
// libmodbus (función 6, uno por petición). Milisegundos que tardó; -1 si algo falló.
double EscribirConLibmodbus(const std::string& dispositivo, long baudios, int id, int primero,
                            int valores);
