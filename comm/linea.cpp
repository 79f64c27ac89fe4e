#include "linea.h"

#include "intercambio.h"
#include "sucesos.h"
#include "traza.h"

namespace {

constexpr std::size_t kLargoRespuesta = 90;

void Anotar(Traza& traza, const std::string& respuesta) {
  if (respuesta.empty()) {
    AnotarSinRespuesta(traza);
  } else {
    traza.Anotar("<- " + Hex(respuesta) + "  " +
                 (respuesta.size() == kLargoRespuesta ? "aceptada" : "largo erróneo"));
  }
}

}  // namespace

std::string TRxC(Puerto& comm1, std::string comando, Traza* traza) {
  comando = ":" + comando + "\r\n";
  if (traza) traza->Anotar("-> " + Hex(comando) + "  orden de línea");
  std::string respuesta = Intercambiar(comm1, comando, kLargoRespuesta);
  if (traza) Anotar(*traza, respuesta);
  return respuesta.size() == kLargoRespuesta ? respuesta : std::string();
}
