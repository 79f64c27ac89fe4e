#include "intercambio.h"

std::string Intercambiar(Puerto& comm1, const std::string& envio, std::size_t esperados) {
  comm1.Input();
  comm1.Output(envio);
  comm1.Esperar(esperados, comm1.Ahora() + kPlazoRespuesta);
  return comm1.Input();
}

Intento Intentar(Puerto& comm1, const PeticionModbus& peticion) {
  comm1.Input();
  comm1.Output(peticion.trama);
  const auto limite = comm1.Ahora() + kPlazoRespuesta;
  Intento intento;
  for (;;) {
    intento.examen = Examinar(peticion, intento.recibido);
    if (intento.examen.terminado || comm1.Ahora() >= limite) return intento;
    comm1.Esperar(intento.examen.faltan, limite);
    intento.recibido += comm1.Input();
  }
}
