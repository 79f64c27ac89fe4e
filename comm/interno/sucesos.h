#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "hex.h"
#include "intercambio.h"
#include "tramas.h"

namespace comm {

class Traza;

// Los textos de la traza. Solo se arman con la traza encendida.

// "sin respuesta en 2000 ms": venció el plazo, o la espera más corta de una búsqueda, sin la
// respuesta.
void AnotarSinRespuesta(Traza& traza, std::chrono::milliseconds espera = kPlazoRespuesta);
void AnotarEnvio(Traza& traza, const PeticionModbus& peticion, int intento, int intentos);
// Cada trama o tramo de basura recibido con su veredicto, y el plazo si venció.
void AnotarIntento(Traza& traza, const PeticionModbus& peticion, const Intento& intento);

}  // namespace comm
