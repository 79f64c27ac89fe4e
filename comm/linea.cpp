#include "linea.h"

#include "intercambio.h"
#include "sucesos.h"
#include "traza.h"

namespace {

constexpr std::size_t kLargoRespuesta = 90;

void Anotar(Traza& traza, const std::string& orden, bool eco, const std::string& respuesta) {
  if (eco) traza.Anotar("<- " + Hex(orden) + "  eco de la orden");
  if (respuesta.empty()) {
    AnotarSinRespuesta(traza);
  } else {
    traza.Anotar("<- " + Hex(respuesta) + "  " +
                 (respuesta.size() == kLargoRespuesta ? "aceptada" : "largo erróneo"));
  }
}

// Lo que vuelve de la orden hasta que haya una respuesta, detrás de su eco si lo trae, o venza
// el plazo.
std::string Recibir(Puerto& comm1, const std::string& orden, bool eco) {
  const auto limite = comm1.Ahora() + kPlazoRespuesta;
  std::string recibido;
  for (;;) {
    const Frente frente = FrenteDeEco(orden, recibido);
    const bool conEco =
        frente == Frente::Eco || (frente == Frente::ParteDelEco && (eco || !recibido.empty()));
    const std::size_t esperados = kLargoRespuesta + (conEco ? orden.size() : 0);
    if (recibido.size() >= esperados || comm1.Ahora() >= limite) return recibido;
    comm1.Esperar(esperados - recibido.size(), limite);
    recibido += comm1.Input();
  }
}

}  // namespace

std::string TRxC(Puerto& comm1, std::string comando, Traza* traza, EcoDelPuerto eco) {
  comando = ":" + comando + "\r\n";
  if (traza) traza->Anotar("-> " + Hex(comando) + "  orden de línea");
  comm1.Input();
  comm1.Output(comando);
  const std::string recibido = Recibir(comm1, comando, eco.Sabido());
  const bool conEco = FrenteDeEco(comando, recibido) == Frente::Eco;
  const std::string respuesta = recibido.substr(conEco ? comando.size() : 0);
  if (conEco || respuesta.size() == kLargoRespuesta) eco.Aprender(conEco);
  if (traza) Anotar(*traza, comando, conEco, respuesta);
  return respuesta.size() == kLargoRespuesta ? respuesta : std::string();
}
