#pragma once

#include <chrono>
#include <cstddef>
#include <string>

#include "puerto.h"

// Plazo de una respuesta, contado desde que se escribió la petición.
constexpr std::chrono::milliseconds kPlazoRespuesta{2000};

// Un intento: descarta la entrada vieja, envía `envio`, espera hasta que haya `esperados`
// bytes o venza el plazo, y toma todo lo recibido (también lo que sobre de `esperados`).
std::string Intercambiar(Puerto& comm1, const std::string& envio, std::size_t esperados);
