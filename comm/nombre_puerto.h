#pragma once

#include <string>

// El número de puerto más alto que el programa admite ("Com255").
inline constexpr long kUltimoPuerto = 255;

// Dispositivo del puerto número `numero` ("Com1" es el 1): el que dice el ajuste "Puertos" /
// "Com<n>"; si no hay ninguno, COM<n> en Windows y /dev/ttyS<n-1> en los demás sistemas.
std::string NombrePuerto(long numero);

// El número de un nombre de Windows "COM<n>" (sin importar mayúsculas), o 0 si no es uno.
long NumeroCom(const std::string& nombre);

// Un dispositivo para toda la ejecución, sea cual sea el número (la línea de órdenes con
// --dispositivo); no toca los ajustes. Vacío vuelve a los nombres de siempre.
void FijarDispositivo(const std::string& dispositivo);
