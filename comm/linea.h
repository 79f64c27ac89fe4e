#pragma once

#include <string>

#include "intercambio.h"
#include "puerto.h"

class Traza;

// Orden de línea: envía una vez ":" + comando + CR LF y devuelve todo lo recibido hasta reunir
// 90 bytes o vencer el plazo, tal cual llegó. Con `primerByte`, deja de esperar si para entonces
// no empezó ninguna respuesta. Con `traza`, anota la orden, lo recibido y el veredicto.
std::string OrdenDeLinea(Puerto& comm1, std::string comando, Traza* traza,
                         PrimerByte primerByte = std::nullopt);

// La respuesta de 90 bytes de la orden, o texto vacío si en 2000 ms no hay en el búfer una
// respuesta de exactamente 90 bytes.
std::string TRxC(Puerto& comm1, std::string comando, Traza* traza = nullptr);
