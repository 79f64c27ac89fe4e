// Aceptación de respuestas Modbus. Primer byte: bits 0-2 la cantidad de registros menos uno,
// bit 3 corrige los bytes de control para llegar al camino de aceptación; el resto es la
// respuesta recibida.

#include <cstddef>
#include <cstdint>
#include <string>

#include "exigir.h"
#include "tramas.h"

namespace {

// CRC-16/MODBUS bit a bit, sin la tabla del núcleo, byte bajo primero.
std::string CrcBitABit(const std::string& datos) {
  std::uint16_t crc = 0xFFFF;
  for (const unsigned char c : datos) {
    crc ^= c;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
  }
  return {static_cast<char>(crc & 0xFF), static_cast<char>(crc >> 8)};
}

std::string ConControl(const std::string& cuerpo) {
  return cuerpo + CrcBitABit(cuerpo);
}

bool Integra(const std::string& respuesta, std::size_t largo) {
  return respuesta.size() == largo &&
         CrcBitABit(respuesta.substr(0, largo - 2)) == respuesta.substr(largo - 2);
}

// Registros tal como viajan (byte alto primero) a texto (byte bajo primero).
std::string TextoDeRegistros(const std::string& datos) {
  std::string texto;
  for (std::size_t i = 0; i + 1 < datos.size(); i += 2) texto += {datos[i + 1], datos[i]};
  return texto;
}

void ComprobarLectura(const std::string& respuesta, Registros registros) {
  const std::size_t largo = 2 * std::size_t{registros.Cantidad()} + 5;
  const std::string texto = AceptarLectura(respuesta, registros);
  Exigir(texto.empty() != Integra(respuesta, largo),
         "lectura aceptada si y solo si tiene su largo y su CRC");
  if (texto.empty()) return;
  Exigir(texto == TextoDeRegistros(respuesta.substr(3, largo - 5)),
         "lectura aceptada decodifica exactamente 2n bytes de sus registros");
}

void ComprobarEscritura(const std::string& respuesta) {
  const std::string texto = AceptarEscritura(respuesta);
  Exigir(texto.empty() != Integra(respuesta, 8),
         "escritura aceptada si y solo si tiene 8 bytes y su CRC");
  if (texto.empty()) return;
  Exigir(texto == std::string{respuesta[5], respuesta[4]}, "escritura decodifica su valor");
}

// Un byte cualquiera alterado en una respuesta aceptable la hace inaceptable.
std::string Alterada(std::string respuesta, unsigned semilla) {
  respuesta[semilla % respuesta.size()] ^= static_cast<char>(1 + semilla % 255);
  return respuesta;
}

// Las peticiones y lo que contestaría un esclavo fiel, armados con los primeros bytes.
void ComprobarPeticiones(const std::string& bytes, Registros registros) {
  std::string campos = bytes;
  campos.resize(5 + 2 * registros.Cantidad(), '\0');
  const auto id = static_cast<std::uint8_t>(campos[0]);
  const auto direccion = static_cast<std::uint16_t>(static_cast<std::uint8_t>(campos[1]) << 8 |
                                                    static_cast<std::uint8_t>(campos[2]));
  const char primero = campos[3];
  const char segundo = campos[4];

  const PeticionModbus escritura = PeticionEscritura(id, direccion, primero, segundo);
  Exigir(escritura.trama == ConControl({campos[0], 6, campos[1], campos[2], segundo, primero}),
         "petición de escritura byte por byte");
  Exigir(escritura.largoRespuesta == 8, "largo de la respuesta de escritura");
  Exigir(AceptarEscritura(escritura.trama) == std::string{primero, segundo},
         "el eco de la petición se acepta y devuelve los dos caracteres");
  Exigir(AceptarEscritura(Alterada(escritura.trama, id ^ direccion)).empty(),
         "un eco con un byte alterado se rechaza");

  const char cantidad = static_cast<char>(registros.Cantidad());
  const PeticionModbus lectura = PeticionLectura(id, direccion, registros);
  Exigir(lectura.trama == ConControl({campos[0], 3, campos[1], campos[2], 0, cantidad}),
         "petición de lectura byte por byte");
  Exigir(lectura.largoRespuesta == 2 * std::size_t{registros.Cantidad()} + 5,
         "largo de la respuesta de lectura");
  const std::string datos = campos.substr(5);
  const std::string fiel =
      ConControl(std::string{campos[0], 3, static_cast<char>(2 * cantidad)} + datos);
  Exigir(AceptarLectura(fiel, registros) == TextoDeRegistros(datos),
         "la respuesta de un esclavo fiel se acepta y decodifica");
  Exigir(AceptarLectura(Alterada(fiel, id + direccion), registros).empty(),
         "una lectura con un byte alterado se rechaza");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const Registros registros = *Registros::De(1 + (data[0] & 7));
  std::string respuesta(reinterpret_cast<const char*>(data + 1), size - 1);
  if ((data[0] & 8) && respuesta.size() >= 2) {
    respuesta = ConControl(respuesta.substr(0, respuesta.size() - 2));
  }
  ComprobarLectura(respuesta, registros);
  ComprobarEscritura(respuesta);
  ComprobarPeticiones(respuesta, registros);
  return 0;
}
