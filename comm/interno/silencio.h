#pragma once

#include <chrono>

#include "puerto.h"

namespace comm {

// Lo que ocupan `bits` en la línea a `baudios` (un carácter son 10 bits), redondeado hacia arriba
// al microsegundo; 0 si no se sabe la velocidad.
std::chrono::microseconds TiempoEnLinea(long baudios, long long bits);

// Silencio entre tramas Modbus RTU: descarta la entrada vieja y espera a que la línea lleve
// al menos 3,5 caracteres (de 10 bits) callada desde el último byte recibido. Con ruido sin
// fin se rinde tras kPlazoRespuesta, para que el envío nunca quede colgado.
void GuardarSilencio(Puerto& comm1);

}  // namespace comm
