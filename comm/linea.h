#pragma once

#include <string>

#include "ecos.h"
#include "puerto.h"

class Traza;

// Orden de línea: envía una vez ":" + comando + CR LF y devuelve la respuesta de 90 bytes, o
// texto vacío si en 2000 ms no hay en el búfer una respuesta de exactamente 90 bytes. El eco de
// la orden, si la línea lo devuelve, no es parte de la respuesta. Con `traza`, anota la orden,
// lo recibido y el veredicto.
std::string TRxC(Puerto& comm1, std::string comando, Traza* traza = nullptr, EcoDelPuerto eco = {});
