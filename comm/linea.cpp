#include "linea.h"

#include "sucesos.h"
#include "traza.h"

namespace {

constexpr std::size_t kLargoRespuesta = 90;

void Anotar(Traza& traza, const std::string& respuesta, PrimerByte primerByte) {
  if (respuesta.empty()) {
    AnotarSinRespuesta(traza, primerByte ? std::chrono::ceil<std::chrono::milliseconds>(*primerByte)
                                         : kPlazoRespuesta);
  } else {
    traza.Anotar("<- " + Hex(respuesta) + "  " +
                 (respuesta.size() == kLargoRespuesta ? "aceptada" : "largo erróneo"));
  }
}

}  // namespace

std::string OrdenDeLinea(Puerto& comm1, std::string comando, Traza* traza, PrimerByte primerByte) {
  comando = ":" + comando + "\r\n";
  if (traza) traza->Anotar("-> " + Hex(comando) + "  orden de línea");
  std::string respuesta = Intercambiar(comm1, comando, kLargoRespuesta, primerByte);
  if (traza) Anotar(*traza, respuesta, primerByte);
  return respuesta;
}

std::string TRxC(Puerto& comm1, std::string comando, Traza* traza) {
  std::string respuesta = OrdenDeLinea(comm1, std::move(comando), traza);
  return respuesta.size() == kLargoRespuesta ? respuesta : std::string();
}
