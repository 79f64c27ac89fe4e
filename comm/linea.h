#pragma once

#include <string>

#include "ecos.h"
#include "intercambio.h"
#include "puerto.h"

class Traza;

// Orden de línea: envía una vez ":" + comando + CR LF y devuelve lo que llegó detrás de su eco
// (si la línea lo devuelve) hasta reunir 90 bytes o vencer el plazo, tal cual. Con `primerByte`,
// deja de esperar si para entonces no empezó ninguna respuesta. Con `traza`, anota la orden, lo
// recibido y el veredicto.
std::string OrdenDeLinea(Puerto& comm1, std::string comando, Traza* traza, EcoDelPuerto& eco,
                         PrimerByte primerByte = std::nullopt);

// La respuesta de 90 bytes de la orden, o texto vacío si en 2000 ms no hay en el búfer una
// respuesta de exactamente 90 bytes. El eco de la orden, si la línea lo devuelve, no es parte de
// la respuesta.
std::string TRxC(Puerto& comm1, std::string comando, Traza* traza = nullptr, EcoDelPuerto eco = {});
