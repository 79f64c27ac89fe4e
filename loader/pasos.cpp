#include "pasos.h"

#include "ajuste_entero.h"
#include "ajustes.h"
#include "bloque_setup.h"

namespace {

constexpr std::size_t kLargoSondeo = 16;  // ocho registros
const char* const kRegistroMembrete = "26";
// El membrete más largo con su NUL: 38 registros, del 26 al 63.
constexpr std::size_t kRegistrosMembrete = (kLargoMaximoMembrete + 2) / 2;

}  // namespace

// Los valores guardados fuera de lo que la ventana admite valen como ausentes; -1 en
// "Baudios" y 0 en "Comm" dejan la lista sin elección.
Seleccion SeleccionGuardada() {
  return Seleccion{AjusteEntero("Global", "Comm", 1, 0, 8),
                   AjusteEntero("Global", "Baudios", 3, -1, 3),
                   AjusteEntero("global", "ID_1", 1, 0, kUltimoId)};
}

LecturaMembrete LeerMembrete(const std::filesystem::path& archivo) {
  LecturaMembrete lectura = Tx(archivo, kLargoMaximoMembrete);
  if (lectura.estado == EstadoLectura::Leido) lectura.texto += '\0';
  return lectura;
}

Conexion Conectar(Peticion dialogo, const Comunicar& comunicar) {
  dialogo.xFnc = "R";
  dialogo.xDire = kRegistroMembrete;
  dialogo.xLong = "8";
  comunicar(dialogo);
  if (dialogo.xDato.size() == kLargoSondeo) return {Respuesta::Registros, {}};

  dialogo.xFnc = "C";
  dialogo.xDato = "M";
  comunicar(dialogo);
  auto valores = ValoresSetup(dialogo.xDato);
  if (valores.empty()) return {Respuesta::Ninguna, {}};
  for (const auto& [clave, valor] : valores) EscribirIni("Setup", clave, valor);
  return {Respuesta::OrdenLinea, std::move(valores)};
}

bool SubirMembrete(Peticion dialogo, const std::string& membrete, const Comunicar& comunicar) {
  dialogo.xFnc = "T";
  dialogo.xDire = kRegistroMembrete;
  dialogo.xDato = membrete;
  comunicar(dialogo);
  return dialogo.xOK;
}

std::optional<std::string> LeerMembreteIndicador(Peticion dialogo, const Comunicar& comunicar) {
  dialogo.xFnc = "R";
  dialogo.xDire = kRegistroMembrete;
  dialogo.xLong = std::to_string(kRegistrosMembrete);
  comunicar(dialogo);
  if (!dialogo.xOK) return std::nullopt;
  return dialogo.xDato;
}
