#include "motivo.h"

#include <string_view>

#include "intercambio.h"
#include "tramas.h"

namespace comm {

Motivo MotivoDelJuicio(const Juicio& juicio) {
  switch (juicio.veredicto) {
    case Veredicto::Aceptada:
      return {Causa::Exito};
    case Veredicto::ControlErroneo:
      return {Causa::ControlErroneo};
    case Veredicto::LargoErroneo:
      return {Causa::LargoErroneo};
    case Veredicto::OtroEsclavo:
      return {Causa::OtroEsclavo};
    case Veredicto::Ajena:
      return {Causa::Ajena};
    case Veredicto::Excepcion:
      return {Causa::Excepcion, juicio.excepcion};
  }
  return {};
}

std::string TextoMotivo(const Motivo& motivo) {
  switch (motivo.causa) {
    case Causa::Exito:
      return "aceptada";
    case Causa::SinRespuesta:
      return "sin respuesta";
    case Causa::SoloEco:
      return "solo volvió el eco de la línea";
    case Causa::Excepcion:
      return "excepción " + std::to_string(motivo.numero);
    case Causa::ControlErroneo:
      return "bytes de control erróneos";
    case Causa::OtroEsclavo:
      return "respuesta de otro esclavo";
    case Causa::Ajena:
      return "no es la respuesta de esta petición";
    case Causa::LargoErroneo:
      return "largo erróneo";
    case Causa::LargoDeOrden:
      return "respuesta de " + std::to_string(motivo.numero) + " bytes, no de 90";
    case Causa::Cancelado:
      return "cancelado";
    case Causa::SinPuerto:
      return "no se pudo abrir " + motivo.detalle;
    case Causa::Invalida:
      return "petición fuera de rango";
    case Causa::Distinto:
      return "registro " + std::to_string(motivo.numero) + " distinto de lo escrito";
  }
  return {};
}

Motivo SinPuerto(const std::string& dispositivo, const std::string& error) {
  return {Causa::SinPuerto, 0, dispositivo + ": " + error};
}

Motivo MotivoDelIntento(const Intento& intento) {
  const Examen& examen = intento.examen;
  if (examen.terminado && !examen.trozos.empty()) {
    const Juicio& ultimo = examen.trozos.back().juicio;
    const bool decide =
        ultimo.veredicto == Veredicto::Aceptada || ultimo.veredicto == Veredicto::Excepcion;
    // Si no lo decidió una trama, lo terminó la respuesta estropeada.
    return decide ? MotivoDelJuicio(ultimo) : Motivo{Causa::ControlErroneo};
  }
  // Venció el plazo: cuenta la última trama llegada; los bytes sueltos no son una respuesta.
  const std::string_view examinado = std::string_view(intento.recibido).substr(intento.eco);
  for (auto t = examen.trozos.rbegin(); t != examen.trozos.rend(); ++t) {
    if (ControlCorrecto(examinado.substr(t->desde, t->largo))) return MotivoDelJuicio(t->juicio);
  }
  return {intento.eco > 0 ? Causa::SoloEco : Causa::SinRespuesta};
}

}  // namespace comm
