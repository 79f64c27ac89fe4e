#pragma once

#include <string>

// Dispositivo del puerto número `numero` ("Com1" es el 1): COM<n> en Windows; en los demás
// sistemas el que dice el ajuste "Puertos" / "Com<n>", o /dev/ttyS<n-1> si no hay ninguno.
std::string NombrePuerto(long numero);
