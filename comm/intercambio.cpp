#include "intercambio.h"

#include <algorithm>

namespace {

// Hasta cuándo puede no haber llegado nada.
Puerto::Reloj::time_point Inicio(Puerto::Reloj::time_point enviado, PrimerByte primerByte) {
  const auto limite = enviado + kPlazoRespuesta;
  return primerByte ? std::min<Puerto::Reloj::time_point>(limite, enviado + *primerByte) : limite;
}

}  // namespace

std::string Intercambiar(Puerto& comm1, const std::string& envio, std::size_t esperados,
                         PrimerByte primerByte) {
  comm1.Input();
  comm1.Output(envio);
  const auto enviado = comm1.Ahora();
  comm1.Esperar(1, Inicio(enviado, primerByte));
  if (comm1.InBufferCount() > 0) comm1.Esperar(esperados, enviado + kPlazoRespuesta);
  return comm1.Input();
}

Intento Intentar(Puerto& comm1, const PeticionModbus& peticion, PrimerByte primerByte) {
  comm1.Input();
  comm1.Output(peticion.trama);
  const auto enviado = comm1.Ahora();
  const auto inicio = Inicio(enviado, primerByte);
  const auto limite = enviado + kPlazoRespuesta;
  Intento intento;
  for (;;) {
    intento.examen = Examinar(peticion, intento.recibido);
    const auto hasta = intento.recibido.empty() ? inicio : limite;
    if (intento.examen.terminado || comm1.Ahora() >= hasta) {
      intento.espera = std::chrono::ceil<std::chrono::milliseconds>(hasta - enviado);
      return intento;
    }
    comm1.Esperar(intento.examen.faltan, hasta);
    const std::string parte = comm1.Input();
    if (parte.empty()) continue;
    intento.recibido += parte;
    intento.llegadas.push_back(
        {intento.recibido.size(),
         std::chrono::duration_cast<std::chrono::milliseconds>(comm1.UltimaRecepcion() - enviado)});
  }
}
