#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

#include "ecos.h"
#include "puerto.h"

namespace comm {

class Traza;

// Sondeos cortos para buscar indicadores: solo leen (función 3) o piden la orden M; nunca
// escriben. Un silencio cuesta poco: se espera el primer byte solo lo que un indicador real
// tarda en empezar a contestar; una respuesta que empieza tiene todo su plazo.

// Del fin de la petición al primer byte de la respuesta: 4 a 60 ms en los indicadores
// habituales; la orden M, que se envía una vez por velocidad, espera a los más lentos.
constexpr std::chrono::milliseconds kVueltaRegistros{60};
constexpr std::chrono::milliseconds kVueltaOrden{200};
// Lo que un adaptador USB retiene los bytes recibidos antes de entregarlos.
constexpr std::chrono::milliseconds kRetencionUsb{16};

// Espera del primer byte desde que se escribe la petición: la petición en la línea, la vuelta
// del indicador, la retención del adaptador y el primer carácter de la respuesta (10 bits).
std::chrono::microseconds EsperaPrimerByte(long baudios, std::size_t bytesPeticion,
                                           std::chrono::milliseconds vuelta);

// La orden M a la velocidad del puerto: true si llegó algo, sea un bloque entero o el choque de
// varios indicadores que contestan a la vez (la orden no lleva dirección). Su eco no cuenta.
bool OyeLaOrden(Puerto& comm1, Traza* traza, EcoDelPuerto& eco);

// Lee un registro del ID: true si ese ID contestó, con el registro o con una excepción. El eco
// de la lectura nunca es su respuesta.
bool ContestaElId(Puerto& comm1, std::uint8_t id, Traza* traza, EcoDelPuerto& eco);

}  // namespace comm
