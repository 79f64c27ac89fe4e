#include "tramas.h"

#include "crc16.h"

namespace {

constexpr char kLeer = 3;
constexpr char kEscribir = 6;
constexpr std::size_t kLargoEscritura = 8;

std::size_t LargoLectura(Registros registros) {
  return 2 * std::size_t{registros.Cantidad()} + 5;
}

char Byte(unsigned valor) {
  return static_cast<char>(valor & 0xFF);
}

PeticionModbus Armar(std::uint8_t id, char funcion, std::uint16_t direccion, char alto, char bajo,
                     std::size_t largoRespuesta) {
  std::string trama = {Byte(id), funcion, Byte(direccion >> 8), Byte(direccion), alto, bajo};
  return {trama + crc16(trama), largoRespuesta};
}

// El cuerpo de una respuesta de largo exacto cuyos bytes de control coinciden; si no, vacío.
// Un cuerpo más largo de lo que crc16 admite no puede comprobarse y se rechaza.
std::string Cuerpo(const std::string& respuesta, std::size_t largo) {
  if (respuesta.size() != largo || largo - 2 > kLargoMaximoCrc) return {};
  std::string cuerpo = respuesta.substr(0, largo - 2);
  if (crc16(cuerpo) != respuesta.substr(largo - 2)) return {};
  return cuerpo;
}

}  // namespace

std::optional<Registros> Registros::De(long cantidad) {
  if (cantidad < 1 || cantidad > 255) return std::nullopt;
  return Registros(static_cast<std::uint8_t>(cantidad));
}

PeticionModbus PeticionLectura(std::uint8_t id, std::uint16_t direccion, Registros registros) {
  return Armar(id, kLeer, direccion, 0, Byte(registros.Cantidad()), LargoLectura(registros));
}

PeticionModbus PeticionEscritura(std::uint8_t id, std::uint16_t direccion, char primero,
                                 char segundo) {
  return Armar(id, kEscribir, direccion, segundo, primero, kLargoEscritura);
}

std::string AceptarLectura(const std::string& respuesta, Registros registros) {
  const std::string cuerpo = Cuerpo(respuesta, LargoLectura(registros));
  std::string texto;
  for (std::size_t i = 3; i + 1 < cuerpo.size(); i += 2) {
    texto += cuerpo[i + 1];
    texto += cuerpo[i];
  }
  return texto;
}

std::string AceptarEscritura(const std::string& respuesta) {
  const std::string cuerpo = Cuerpo(respuesta, kLargoEscritura);
  if (cuerpo.empty()) return {};
  return {cuerpo[5], cuerpo[4]};
}
