#include "sucesos.h"

#include "motivo.h"
#include "traza.h"

namespace comm {

namespace {

// Los mismos textos que el resultado de la petición; el de una escritura no responde con su eco.
std::string Texto(const PeticionModbus& peticion, const Juicio& juicio) {
  if (juicio.veredicto == Veredicto::Ajena && peticion.trama[1] == 6) {
    return "no es el eco de esta petición";
  }
  return TextoMotivo(MotivoDelJuicio(juicio));
}

// Milisegundos desde la petición hasta que llegó el byte `fin` - 1 de lo recibido.
long long Llegado(const Intento& intento, std::size_t fin) {
  for (const Intento::Llegada& llegada : intento.llegadas) {
    if (llegada.hasta >= fin) return llegada.despues.count();
  }
  return 0;
}

std::string Recibido(std::string_view bytes, const std::string& texto, long long ms) {
  return "<- " + Hex(bytes) + "  " + texto + ", a los " + std::to_string(ms) + " ms";
}

}  // namespace

void AnotarSinRespuesta(Traza& traza, std::chrono::milliseconds espera) {
  traza.Anotar(TextoMotivo({Causa::SinRespuesta}) + " en " + std::to_string(espera.count()) +
               " ms");
}

void AnotarEnvio(Traza& traza, const PeticionModbus& peticion, int intento, int intentos) {
  traza.Anotar("-> " + Hex(peticion.trama) + "  intento " + std::to_string(intento) + " de " +
               std::to_string(intentos));
}

void AnotarIntento(Traza& traza, const PeticionModbus& peticion, const Intento& intento) {
  const std::string_view recibido = intento.recibido;
  if (intento.eco > 0) {
    traza.Anotar(Recibido(recibido.substr(0, intento.eco), "eco de la petición",
                          Llegado(intento, intento.eco)));
  }
  const std::string_view respuesta = recibido.substr(intento.eco);
  for (const Trozo& t : intento.examen.trozos) {
    traza.Anotar(Recibido(respuesta.substr(t.desde, t.largo), Texto(peticion, t.juicio),
                          Llegado(intento, intento.eco + t.desde + t.largo)));
  }
  if (!intento.examen.terminado) AnotarSinRespuesta(traza, intento.espera);
}

}  // namespace comm
