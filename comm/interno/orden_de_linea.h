#pragma once

#include <string>

#include "ecos.h"
#include "intercambio.h"
#include "motivo.h"
#include "puerto.h"

namespace comm {

class Traza;

// Orden de línea: envía una vez ":" + comando + CR LF y trae lo que llegó detrás de su eco (si la
// línea lo devuelve) hasta reunir 90 bytes o vencer el plazo, tal cual, y si fue una respuesta.
// Con `primerByte`, deja de esperar si para entonces no empezó ninguna respuesta. Con `traza`,
// anota la orden, lo recibido y el veredicto.
Entrega OrdenDeLinea(Puerto& comm1, std::string comando, Traza* traza, EcoDelPuerto& eco,
                     PrimerByte primerByte = std::nullopt);

// La respuesta de 90 bytes de la orden, o nada y el motivo si en 2000 ms no hay en el búfer una
// respuesta de exactamente 90 bytes. El eco de la orden, si la línea lo devuelve, no es parte de
// la respuesta.
Entrega TRxC(Puerto& comm1, std::string comando, Traza* traza = nullptr, EcoDelPuerto eco = {});

}  // namespace comm
