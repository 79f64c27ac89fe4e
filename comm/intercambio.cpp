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
  const auto enviado = comm1.Ahora();
  const auto limite = enviado + kPlazoRespuesta;
  Intento intento;
  for (;;) {
    intento.examen = Examinar(peticion, intento.recibido);
    if (intento.examen.terminado || comm1.Ahora() >= limite) return intento;
    comm1.Esperar(intento.examen.faltan, limite);
    const std::string parte = comm1.Input();
    if (parte.empty()) continue;
    intento.recibido += parte;
    intento.llegadas.push_back(
        {intento.recibido.size(),
         std::chrono::duration_cast<std::chrono::milliseconds>(comm1.UltimaRecepcion() - enviado)});
  }
}
