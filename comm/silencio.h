#pragma once

#include "puerto.h"

// Silencio entre tramas Modbus RTU: descarta la entrada vieja y espera a que la línea lleve
// al menos 3,5 caracteres (de 10 bits) callada desde el último byte recibido. Con ruido sin
// fin se rinde tras kPlazoRespuesta, para que el envío nunca quede colgado.
void GuardarSilencio(Puerto& comm1);
