// Aceptación de respuestas Modbus. Primer byte: bits 0-2 la cantidad de registros menos uno,
// bit 3 corrige los bytes de control para llegar al camino de aceptación, bit 4 pide al
// esclavo 0; el resto es lo recibido. Las peticiones se arman con los campos de lo recibido,
// para que su respuesta pueda aparecer.

#include <cstddef>
#include <cstdint>
#include <string>

#include "exigir.h"
#include "intercambio.h"
#include "motivo.h"
#include "recepcion.h"
#include "tramas.h"

using namespace comm;

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

bool DelEsclavo(std::uint8_t id, const std::string& respuesta) {
  return id == 0 || static_cast<std::uint8_t>(respuesta[0]) == id;
}

void ComprobarLectura(const std::string& respuesta, std::uint8_t id, Registros registros) {
  const std::size_t largo = 2 * std::size_t{registros.Cantidad()} + 5;
  const PeticionModbus peticion = PeticionLectura(id, 26, registros);
  const std::string texto = Aceptar(peticion, respuesta);
  const bool suya = Integra(respuesta, largo) && DelEsclavo(id, respuesta) && respuesta[1] == 3 &&
                    respuesta[2] == static_cast<char>(largo - 5);
  Exigir(texto.empty() != suya,
         "lectura aceptada si y solo si tiene su largo, su CRC, su esclavo, función y cuenta");
  if (texto.empty()) return;
  Exigir(texto == TextoDeRegistros(respuesta.substr(3, largo - 5)),
         "lectura aceptada decodifica exactamente 2n bytes de sus registros");
}

void ComprobarEscritura(const std::string& respuesta, std::uint8_t id) {
  if (respuesta.size() < 6) return;
  const PeticionModbus peticion =
      PeticionEscritura(id,
                        static_cast<std::uint16_t>(static_cast<std::uint8_t>(respuesta[2]) << 8 |
                                                   static_cast<std::uint8_t>(respuesta[3])),
                        respuesta[5], respuesta[4]);
  const std::string texto = Aceptar(peticion, respuesta);
  const bool eco = Integra(respuesta, 8) && DelEsclavo(id, respuesta) && respuesta[1] == 6;
  Exigir(texto.empty() != eco, "escritura aceptada si y solo si es el eco, con 8 bytes y su CRC");
  if (texto.empty()) return;
  Exigir(texto == std::string{respuesta[5], respuesta[4]}, "escritura decodifica su valor");
}

// Lo recibido partido en tramas: trozos seguidos desde el principio, y lo aceptado es un trozo
// que por sí solo es la respuesta.
void ComprobarExamen(const std::string& recibido, std::uint8_t id, Registros registros) {
  for (const PeticionModbus& peticion :
       {PeticionLectura(id, 26, registros), PeticionEscritura(id, 26, 'A', 'B')}) {
    const Examen examen = Examinar(peticion, recibido);
    std::size_t hasta = 0;
    for (const Trozo& t : examen.trozos) {
      Exigir(t.desde == hasta && t.largo > 0, "los trozos van seguidos");
      hasta += t.largo;
    }
    Exigir(hasta <= recibido.size(), "los trozos no pasan de lo recibido");
    Exigir(examen.terminado || hasta == recibido.size(), "sin terminar, todo queda en trozos");
    Exigir(examen.terminado || examen.faltan > 0, "sin terminar, se espera al menos un byte");
    Intento intento;
    intento.recibido = recibido;
    intento.examen = examen;
    Exigir(MotivoDelIntento(intento).Exito() == !examen.datos.empty(),
           "el intento sale bien si y solo si trae la respuesta aceptada");
    if (examen.datos.empty()) continue;
    const Trozo& ultimo = examen.trozos.back();
    Exigir(examen.datos == Aceptar(peticion, recibido.substr(ultimo.desde, ultimo.largo)),
           "lo aceptado es la respuesta de la petición");
  }
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
  Exigir(Aceptar(escritura, escritura.trama) == std::string{primero, segundo},
         "el eco de la petición se acepta y devuelve los dos caracteres");
  Exigir(Aceptar(escritura, Alterada(escritura.trama, id ^ direccion)).empty(),
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
  Exigir(Aceptar(lectura, fiel) == TextoDeRegistros(datos),
         "la respuesta de un esclavo fiel se acepta y decodifica");
  const Examen tras = Examinar(lectura, bytes.substr(0, 3) + fiel);
  // Salvo que lo de delante sea una excepción, o que con el comienzo de la respuesta forme otra
  // respuesta válida (sus bytes de control coinciden por azar): en la línea no se distingue.
  const bool decideLoDeDelante =
      tras.terminado &&
      (tras.trozos.back().juicio.veredicto == Veredicto::Excepcion || tras.trozos.back().desde < 3);
  Exigir(tras.datos == TextoDeRegistros(datos) || decideLoDeDelante,
         "bytes cualesquiera delante no tapan la respuesta, salvo una excepción o una trama "
         "válida por azar");
  Exigir(Aceptar(lectura, Alterada(fiel, id + direccion)).empty(),
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
  const std::uint8_t id = (data[0] & 16) || respuesta.empty() ? 0 : respuesta[0];
  ComprobarLectura(respuesta, id, registros);
  ComprobarEscritura(respuesta, id);
  ComprobarExamen(respuesta, id, registros);
  ComprobarPeticiones(respuesta, registros);
  return 0;
}
