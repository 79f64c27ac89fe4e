#include "intercambio.h"

std::string Intercambiar(Puerto& comm1, const std::string& envio, std::size_t esperados) {
  comm1.Input();
  comm1.Output(envio);
  comm1.Esperar(esperados, comm1.Ahora() + kPlazoRespuesta);
  return comm1.Input();
}
