#include "orden_de_linea.h"

#include <utility>

#include "sucesos.h"
#include "traza.h"

namespace comm {

namespace {

constexpr std::size_t kLargoRespuesta = 90;

void Anotar(Traza& traza, const std::string& orden, bool eco, const std::string& respuesta,
            std::chrono::milliseconds espera) {
  if (eco) traza.Anotar("<- " + Hex(orden) + "  eco de la orden");
  if (respuesta.empty()) {
    AnotarSinRespuesta(traza, espera);
  } else {
    traza.Anotar("<- " + Hex(respuesta) + "  " +
                 (respuesta.size() == kLargoRespuesta ? "aceptada" : "largo erróneo"));
  }
}

// Lo que vuelve de la orden hasta que haya una respuesta, detrás de su eco si lo trae, o venza
// el plazo; o hasta `inicio`, si para entonces no llegó más que el eco.
std::string Recibir(Puerto& comm1, const std::string& orden, bool eco,
                    Puerto::Reloj::time_point inicio, Puerto::Reloj::time_point limite) {
  std::string recibido;
  for (;;) {
    const Frente frente = FrenteDeEco(orden, recibido);
    const bool conEco =
        frente == Frente::Eco || (frente == Frente::ParteDelEco && (eco || !recibido.empty()));
    const std::size_t esperados = kLargoRespuesta + (conEco ? orden.size() : 0);
    const bool empezada = frente == Frente::Otro || recibido.size() > orden.size();
    const auto hasta = empezada ? limite : inicio;
    if (recibido.size() >= esperados || comm1.Ahora() >= hasta) return recibido;
    comm1.Esperar(esperados - recibido.size(), hasta);
    recibido += comm1.Input();
  }
}

// Lo que dice de la orden lo que volvió: nada, no más que su eco, o una respuesta de su largo o
// de otro.
Motivo MotivoDeOrden(const std::string& orden, const std::string& recibido,
                     const std::string& respuesta) {
  if (respuesta.size() == kLargoRespuesta) return {Causa::Exito};
  if (recibido.empty()) return {Causa::SinRespuesta};
  if (respuesta.empty() || FrenteDeEco(orden, recibido) == Frente::ParteDelEco) {
    return {Causa::SoloEco};
  }
  return {Causa::LargoDeOrden, static_cast<long>(respuesta.size())};
}

}  // namespace

Entrega OrdenDeLinea(Puerto& comm1, std::string comando, Traza* traza, EcoDelPuerto& eco,
                     PrimerByte primerByte) {
  comando = ":" + comando + "\r\n";
  if (traza) traza->Anotar("-> " + Hex(comando) + "  orden de línea");
  comm1.Input();
  comm1.Output(comando);
  const auto enviado = comm1.Ahora();
  const auto inicio = InicioDeRespuesta(enviado, primerByte);
  const std::string recibido =
      Recibir(comm1, comando, eco.Sabido(), inicio, enviado + kPlazoRespuesta);
  const bool conEco = FrenteDeEco(comando, recibido) == Frente::Eco;
  std::string respuesta = recibido.substr(conEco ? comando.size() : 0);
  if (conEco || respuesta.size() == kLargoRespuesta) eco.Aprender(conEco);
  if (traza) {
    const auto espera =
        respuesta.empty() ? inicio - enviado : Puerto::Reloj::duration(kPlazoRespuesta);
    Anotar(*traza, comando, conEco, respuesta,
           std::chrono::ceil<std::chrono::milliseconds>(espera));
  }
  Motivo motivo = MotivoDeOrden(comando, recibido, respuesta);
  return {std::move(respuesta), std::move(motivo)};
}

Entrega TRxC(Puerto& comm1, std::string comando, Traza* traza, EcoDelPuerto eco) {
  Entrega respuesta = OrdenDeLinea(comm1, std::move(comando), traza, eco);
  if (!respuesta.motivo.Exito()) respuesta.datos.clear();
  return respuesta;
}

}  // namespace comm
