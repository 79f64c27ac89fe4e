#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// Tramas Modbus RTU de lectura (función 3) y escritura de un registro (función 6).
// Cada registro lleva dos caracteres: el primero en su byte bajo, el segundo en el alto.

// Cantidad de registros de una petición de lectura: de 1 a 255, el byte bajo del campo.
class Registros {
 public:
  static std::optional<Registros> De(long cantidad);
  std::uint8_t Cantidad() const { return cantidad_; }

 private:
  explicit Registros(std::uint8_t cantidad) : cantidad_(cantidad) {}
  std::uint8_t cantidad_;
};

struct PeticionModbus {
  std::string trama;           // 8 bytes con sus bytes de control
  std::size_t largoRespuesta;  // bytes que debe tener una respuesta aceptable
};

PeticionModbus PeticionLectura(std::uint8_t id, std::uint16_t direccion, Registros registros);
PeticionModbus PeticionEscritura(std::uint8_t id, std::uint16_t direccion, char primero,
                                 char segundo);

// Solo se miran el largo y los bytes de control; dirección de esclavo, función, cuenta de
// bytes y eco no. Devuelven el texto de los registros, o texto vacío si se rechaza.
std::string AceptarLectura(const std::string& respuesta, Registros registros);
std::string AceptarEscritura(const std::string& respuesta);
