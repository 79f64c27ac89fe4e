#include "sondeo.h"

#include "orden_de_linea.h"
#include "silencio.h"
#include "tramas.h"
#include "transferencia.h"

namespace comm {

namespace {

constexpr long kBitsPorCaracter = 10;
constexpr std::uint16_t kRegistroSondeo = 26;  // el primero del membrete
constexpr char kOrdenM[] = "M";
constexpr std::size_t kLargoOrdenM = 4;  // ":M" CR LF

}  // namespace

std::chrono::microseconds EsperaPrimerByte(long baudios, std::size_t bytesPeticion,
                                           std::chrono::milliseconds vuelta) {
  const long long caracteres = static_cast<long long>(bytesPeticion) + 1;
  return TiempoEnLinea(baudios, caracteres * kBitsPorCaracter) + vuelta + kRetencionUsb;
}

bool OyeLaOrden(Puerto& comm1, Traza* traza, EcoDelPuerto& eco) {
  const auto espera = EsperaPrimerByte(comm1.Baudios(), kLargoOrdenM, kVueltaOrden);
  const std::string respuesta = OrdenDeLinea(comm1, kOrdenM, traza, eco, espera).datos;
  // Nada, o solo un trozo del eco de la orden, no dice que alguien escuche.
  return FrenteDeEco(std::string(":") + kOrdenM + "\r\n", respuesta) == Frente::Otro;
}

bool ContestaElId(Puerto& comm1, std::uint8_t id, Traza* traza, EcoDelPuerto& eco) {
  const PeticionModbus peticion = PeticionLectura(id, kRegistroSondeo, *Registros::De(1));
  const auto espera = EsperaPrimerByte(comm1.Baudios(), peticion.trama.size(), kVueltaRegistros);
  const Intento intento = IntentoAnotado(comm1, peticion, 1, 1, traza, eco, espera);
  if (!intento.examen.terminado || intento.examen.trozos.empty()) return false;
  const Veredicto veredicto = intento.examen.trozos.back().juicio.veredicto;
  return veredicto == Veredicto::Aceptada || veredicto == Veredicto::Excepcion;
}

}  // namespace comm
