#include "linea.h"

#include "intercambio.h"

namespace {

constexpr std::size_t kLargoRespuesta = 90;

}  // namespace

std::string TRxC(Puerto& comm1, std::string comando) {
  comando = ":" + comando + "\r\n";
  std::string respuesta = Intercambiar(comm1, comando, kLargoRespuesta);
  return respuesta.size() == kLargoRespuesta ? respuesta : std::string();
}
