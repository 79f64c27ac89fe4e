#include "pasos.h"

#include "bloque_setup.h"
#include "hex.h"
#include "traza.h"

using namespace almacen;
using namespace comm;

namespace carga {

namespace {

constexpr std::size_t kLargoSondeo = 16;  // ocho registros
constexpr long kRegistroMembrete = 26;
// El membrete más largo con su NUL: 38 registros, del 26 al 63.
constexpr std::size_t kRegistrosMembrete = (kLargoMaximoMembrete + 2) / 2;
const char* const kNoPermiteLeer = "el indicador no permite leer los registros";

Peticion LeerRegistros(Peticion peticion, std::size_t registros, const Comunicar& comunicar) {
  peticion.xFnc = "R";
  peticion.xDire = std::to_string(kRegistroMembrete);
  peticion.xLong = std::to_string(registros);
  comunicar(peticion);
  return peticion;
}

void Anotar(Traza* traza, const std::string& suceso) {
  if (traza) traza->Anotar(suceso);
}

bool Rechazada(const Peticion& lectura) {
  return lectura.motivo.causa == Causa::Excepcion;
}

// Lo anterior queda en la traza para poder volver a ponerlo. Sin respuesta no se escribe: un
// indicador que no contesta una lectura no dirá después si guardó el membrete.
Motivo LeerAnterior(const Peticion& peticion, const Comunicar& comunicar) {
  const Peticion lectura = LeerRegistros(peticion, kRegistrosMembrete, comunicar);
  if (lectura.xOK) {
    Anotar(peticion.traza,
           "membrete anterior: " + Hex(lectura.xDato.substr(0, lectura.xDato.find('\0'))));
  } else if (Rechazada(lectura)) {
    Anotar(peticion.traza, std::string("membrete anterior: ") + kNoPermiteLeer);
    return {Causa::Exito};
  } else {
    Anotar(peticion.traza, "membrete anterior: la lectura no llegó entera; no se escribe");
  }
  return lectura.motivo;
}

// Lo leído tras escribir frente a lo escrito, registro a registro.
Motivo Verificar(const Peticion& peticion, const std::string& escrito, const Comunicar& comunicar) {
  const Peticion lectura = LeerRegistros(peticion, escrito.size() / 2, comunicar);
  if (Rechazada(lectura)) {
    Anotar(peticion.traza, std::string("sin verificar: ") + kNoPermiteLeer);
    return {Causa::Exito};
  }
  if (!lectura.xOK) {
    Anotar(peticion.traza, "no verificado: la lectura no llegó entera");
    return lectura.motivo;
  }
  for (std::size_t i = 0; i < escrito.size(); i += 2) {
    const std::string esperado = escrito.substr(i, 2);
    const std::string leido = lectura.xDato.substr(i, 2);
    if (leido != esperado) {
      const long registro = kRegistroMembrete + static_cast<long>(i / 2);
      Anotar(peticion.traza, "no verificado: registro " + std::to_string(registro) +
                                 ", se escribió " + Hex(esperado) + " y el indicador tiene " +
                                 Hex(leido));
      return {Causa::Distinto, registro};
    }
  }
  Anotar(peticion.traza, "verificado: el indicador tiene el membrete");
  return {Causa::Exito};
}

}  // namespace

LecturaMembrete LeerMembrete(const std::filesystem::path& archivo) {
  LecturaMembrete lectura = Tx(archivo, kLargoMaximoMembrete);
  if (lectura.estado == EstadoLectura::Leido) lectura.texto += '\0';
  return lectura;
}

Conexion Conectar(Peticion peticion, const Comunicar& comunicar, const Ajustes& ajustes) {
  peticion.xFnc = "R";
  peticion.xDire = std::to_string(kRegistroMembrete);
  peticion.xLong = "8";
  comunicar(peticion);
  const Motivo sondeo = peticion.motivo;
  if (peticion.xDato.size() == kLargoSondeo) return {Via::Registros, {}, sondeo, std::nullopt};

  peticion.xFnc = "C";
  peticion.xDato = "M";
  comunicar(peticion);
  auto valores = ValoresSetup(peticion.xDato);
  if (valores.empty()) return {Via::Ninguna, {}, sondeo, peticion.motivo};
  for (const auto& [clave, valor] : valores) ajustes.EscribirIni("Setup", clave, valor);
  return {Via::OrdenDeLinea, std::move(valores), sondeo, peticion.motivo};
}

Motivo SubirMembrete(const Peticion& peticion, const std::string& membrete,
                     const Comunicar& comunicar) {
  Motivo anterior = LeerAnterior(peticion, comunicar);
  if (!anterior.Exito()) return anterior;
  Peticion escritura = peticion;
  escritura.xFnc = "T";
  escritura.xDire = std::to_string(kRegistroMembrete);
  escritura.xDato = membrete;
  comunicar(escritura);
  if (!escritura.xOK) return escritura.motivo;
  // Se escribe con un NUL de relleno hasta un largo par.
  std::string escrito = membrete;
  if (escrito.size() % 2 != 0) escrito.push_back('\0');
  return Verificar(peticion, escrito, comunicar);
}

Entrega LeerMembreteIndicador(const Peticion& peticion, const Comunicar& comunicar) {
  const Peticion lectura = LeerRegistros(peticion, kRegistrosMembrete, comunicar);
  return {lectura.xOK ? lectura.xDato : std::string(), lectura.motivo};
}

}  // namespace carga
