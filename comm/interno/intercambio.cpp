#include "intercambio.h"

#include <algorithm>

namespace comm {

namespace {

bool EsEscritura(const PeticionModbus& peticion) {
  return peticion.trama[1] == 6;
}

// Examina lo recibido tras el eco, si lo hay; mientras pueda ser el eco, espera que se complete.
void Examinar(Intento& intento, const PeticionModbus& peticion, bool eco) {
  const std::string_view recibido = intento.recibido;
  const bool ecoPosible = eco || !EsEscritura(peticion);
  const Frente frente = ecoPosible ? FrenteDeEco(peticion.trama, recibido) : Frente::Otro;
  if (frente == Frente::ParteDelEco && (eco || !recibido.empty())) {
    intento.examen = comm::Examinar(peticion, recibido);  // solo para la traza, si vence el plazo
    intento.examen.terminado = false;
    intento.examen.datos.clear();
    // Lo que falta del eco, o de una respuesta que empiece igual (mismo ID y función), lo que
    // sea menos: esperar el eco entero dejaría a esa respuesta esperando el plazo.
    intento.examen.faltan =
        std::min(peticion.trama.size() - recibido.size(), intento.examen.faltan);
    return;
  }
  intento.eco = frente == Frente::Eco ? peticion.trama.size() : 0;
  intento.examen = comm::Examinar(peticion, recibido.substr(intento.eco));
}

// Nada de una respuesta llegó todavía: nada, o solo el eco entero de la petición. El comienzo
// del eco puede ser también el de la respuesta (el mismo ID y la misma función): se espera a
// que lo siguiente lo aclare.
bool SinRespuesta(const Intento& intento, const PeticionModbus& peticion, bool eco) {
  if (intento.recibido.empty()) return true;
  const bool ecoPosible = eco || !EsEscritura(peticion);
  return ecoPosible && intento.recibido == peticion.trama;
}

}  // namespace

Puerto::Reloj::time_point InicioDeRespuesta(Puerto::Reloj::time_point enviado,
                                            PrimerByte primerByte) {
  const auto limite = enviado + kPlazoRespuesta;
  return primerByte ? std::min<Puerto::Reloj::time_point>(limite, enviado + *primerByte) : limite;
}

Frente FrenteDeEco(std::string_view envio, std::string_view recibido) {
  if (recibido.size() >= envio.size()) {
    return recibido.substr(0, envio.size()) == envio ? Frente::Eco : Frente::Otro;
  }
  return envio.substr(0, recibido.size()) == recibido ? Frente::ParteDelEco : Frente::Otro;
}

Intento Intentar(Puerto& comm1, const PeticionModbus& peticion, bool eco, PrimerByte primerByte) {
  comm1.Input();
  comm1.Output(peticion.trama);
  const auto enviado = comm1.Ahora();
  const auto inicio = InicioDeRespuesta(enviado, primerByte);
  const auto limite = enviado + kPlazoRespuesta;
  Intento intento;
  for (;;) {
    Examinar(intento, peticion, eco);
    const auto hasta = SinRespuesta(intento, peticion, eco) ? inicio : limite;
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

std::optional<bool> EcoVisto(const PeticionModbus& peticion, const Intento& intento) {
  if (intento.eco > 0) return true;
  const std::vector<Trozo>& trozos = intento.examen.trozos;
  const bool alFrente = intento.examen.terminado && trozos.size() == 1 &&
                        (trozos[0].juicio.veredicto == Veredicto::Aceptada ||
                         trozos[0].juicio.veredicto == Veredicto::Excepcion);
  if (alFrente && !EsEscritura(peticion)) return false;
  return std::nullopt;
}

}  // namespace comm
