#pragma once

#include <string>

// Dispositivo del puerto número `numero` ("Com1" es el 1): COM<n> en Windows; en los demás
// sistemas el que dice el ajuste "Puertos" / "Com<n>", o /dev/ttyS<n-1> si no hay ninguno.
std::string NombrePuerto(long numero);

// Un dispositivo para toda la ejecución, sea cual sea el número (la línea de órdenes con
// --dispositivo); no toca los ajustes. Vacío vuelve a los nombres de siempre.
void FijarDispositivo(const std::string& dispositivo);
