#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "puerto.h"
#include "recepcion.h"

namespace comm {

// Plazo de una respuesta, contado desde que se escribió la petición.
constexpr std::chrono::milliseconds kPlazoRespuesta{2000};

// Cuánto esperar a que una respuesta empiece, desde que se escribió la petición; nada: todo el
// plazo. Una respuesta que empezó a tiempo tiene siempre kPlazoRespuesta para completarse; el eco
// de la petición no es el comienzo de una respuesta.
using PrimerByte = std::optional<std::chrono::microseconds>;

// Hasta cuándo puede no haber empezado la respuesta a una petición escrita en `enviado`.
Puerto::Reloj::time_point InicioDeRespuesta(Puerto::Reloj::time_point enviado,
                                            PrimerByte primerByte);

// Cómo empieza lo recibido frente a lo enviado: una línea con eco devuelve primero el envío.
enum class Frente { Eco, ParteDelEco, Otro };
Frente FrenteDeEco(std::string_view envio, std::string_view recibido);

struct Intento {
  struct Llegada {
    std::size_t hasta;                  // bytes de `recibido` llegados hasta entonces
    std::chrono::milliseconds despues;  // desde que se escribió la petición
  };
  std::string recibido;
  std::size_t eco = 0;            // bytes del frente de `recibido` que son el eco de la petición
  std::vector<Llegada> llegadas;  // para la traza: cuándo llegó cada parte
  Examen examen;                  // de lo que sigue al eco; sin terminar: venció el plazo
  // Lo que se esperó sin terminar: el plazo, o la espera del primer byte si no empezó respuesta.
  std::chrono::milliseconds espera{kPlazoRespuesta};
};

// Un intento Modbus: descarta la entrada vieja, envía la petición y lee hasta que lo recibido
// termine el intento o venza el plazo. Una trama ajena no lo termina: la respuesta puede venir
// detrás. Con `eco`, la línea devuelve la petición y la respuesta viene detrás de ella.
Intento Intentar(Puerto& comm1, const PeticionModbus& peticion, bool eco,
                 PrimerByte primerByte = std::nullopt);

// Lo que un intento muestra del eco de la línea, cuando no deja dudas: el eco de una lectura
// nunca es su respuesta, y una respuesta al frente dice que no hubo eco. El de una escritura es
// igual a su respuesta: solo se lo aparta en una línea que ya se sabe con eco.
std::optional<bool> EcoVisto(const PeticionModbus& peticion, const Intento& intento);

}  // namespace comm
