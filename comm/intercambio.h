#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "puerto.h"
#include "recepcion.h"

// Plazo de una respuesta, contado desde que se escribió la petición.
constexpr std::chrono::milliseconds kPlazoRespuesta{2000};

// Cuánto esperar a que una respuesta empiece, desde que se escribió la petición; nada: todo el
// plazo. Una respuesta que empezó a tiempo tiene siempre kPlazoRespuesta para completarse.
using PrimerByte = std::optional<std::chrono::microseconds>;

// Un intento: descarta la entrada vieja, envía `envio`, espera hasta que haya `esperados`
// bytes o venza el plazo, y toma todo lo recibido (también lo que sobre de `esperados`).
std::string Intercambiar(Puerto& comm1, const std::string& envio, std::size_t esperados,
                         PrimerByte primerByte = std::nullopt);

struct Intento {
  struct Llegada {
    std::size_t hasta;                  // bytes de `recibido` llegados hasta entonces
    std::chrono::milliseconds despues;  // desde que se escribió la petición
  };
  std::string recibido;
  std::vector<Llegada> llegadas;  // para la traza: cuándo llegó cada parte
  Examen examen;                  // sin terminar: venció el plazo
  // Lo que se esperó sin terminar: el plazo, o la espera del primer byte si no llegó ninguno.
  std::chrono::milliseconds espera{kPlazoRespuesta};
};

// Un intento Modbus: descarta la entrada vieja, envía la petición y lee hasta que lo recibido
// termine el intento o venza el plazo. Una trama ajena no lo termina: la respuesta puede venir
// detrás.
Intento Intentar(Puerto& comm1, const PeticionModbus& peticion,
                 PrimerByte primerByte = std::nullopt);
