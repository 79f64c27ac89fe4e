#include "comunicacion.h"

#include <iterator>

#include "nombre_puerto.h"
#include "orden_de_linea.h"
#include "transferencia.h"
#include "traza.h"
#include "velocidades.h"

using namespace almacen;

namespace comm {

namespace {

// El texto de Label1 durante "R" y "T": el de la petición o el de su clase.
void TextoDeEstado(const Peticion& peticion, const VistaComunicando& vista) {
  const char* porDefecto = peticion.xFnc == "R"   ? "Recibiendo datos..."
                           : peticion.xFnc == "T" ? "Enviando datos..."
                                                  : nullptr;
  if (porDefecto && vista.estado) {
    vista.estado(peticion.xText.empty() ? porDefecto : peticion.xText);
  }
}

void AnotarApertura(Traza& traza, PuertoControl& comm1, const std::string& nombre, bool abierto) {
  if (abierto) {
    traza.Anotar("abre " + nombre + " a " + std::to_string(comm1.Baudios()) + " baudios");
  } else {
    traza.Anotar(TextoMotivo(SinPuerto(nombre, comm1.ErrorApertura())));
  }
}

std::string Dispositivo(const Peticion& peticion) {
  return peticion.dispositivo.empty() ? NombrePorDefecto(peticion.seleccion.puerto)
                                      : peticion.dispositivo;
}

// La petición según su función, sobre el puerto abierto. Escribir recibe una copia: el relleno
// de "T" no llega a xDato.
Entrega SegunFuncion(Peticion& peticion, PuertoControl& comm1, const VistaComunicando& vista) {
  const Avance avance{vista.progreso, vista.procesarEventos, [&] { return peticion.xCancel; },
                      peticion.traza};
  const EcoDelPuerto eco(peticion.ecos, Dispositivo(peticion), peticion.traza);
  Transferencia transferencia(comm1, peticion.seleccion.id, avance, eco);
  if (peticion.xFnc == "R") return transferencia.Leer(peticion.xDire, peticion.xLong);
  if (peticion.xFnc == "T") {
    std::string dato = peticion.xDato;
    return transferencia.Escribir(peticion.xDire, dato);
  }
  if (peticion.xFnc == "C") return TRxC(comm1, peticion.xDato, peticion.traza, eco);
  return {{}, {Causa::Invalida}};
}

}  // namespace

void Despachar(Peticion& peticion, PuertoControl& comm1, const VistaComunicando& vista) {
  TextoDeEstado(peticion, vista);
  const bool abierto = comm1.PortOpen();
  // Por un puerto que no abrió no llega nada: no se esperan sus plazos.
  const Entrega entrega =
      abierto ? SegunFuncion(peticion, comm1, vista)
              : Entrega{{}, SinPuerto(Dispositivo(peticion), comm1.ErrorApertura())};
  peticion.motivo = entrega.motivo;
  // Como siempre: "C" no toca xOK, "T" no toca xDato, otra función ninguno de los dos.
  if (peticion.xFnc == "R" || peticion.xFnc == "T") peticion.xOK = entrega.motivo.Exito();
  if (peticion.xFnc == "R" || peticion.xFnc == "C") peticion.xDato = entrega.datos;
  // El control cierra el puerto que da error, como el de un adaptador que se quita.
  if (abierto && !comm1.PortOpen() && peticion.traza) {
    peticion.traza->Anotar("se perdió el puerto: el adaptador se quitó o dejó de responder");
  }
}

// Cada paso que falla se salta: la petición fallará después por su resultado.
void AbrirPuerto(PuertoControl& comm1, const Peticion& peticion) {
  if (comm1.PortOpen()) return;
  comm1.SetRTSEnable(true);
  if (comm1.SetCommPort(peticion.seleccion.puerto)) comm1.SetDispositivo(peticion.dispositivo);
  comm1.SetHandshaking(0);
  const long indice = peticion.seleccion.baudios;
  if (indice >= 0 && indice < static_cast<long>(std::size(kVelocidades))) {
    comm1.SetSettings(std::string(kVelocidades[indice]) + ",n,8,1");
  }
  const bool abierto = comm1.SetPortOpen(true);
  if (peticion.traza) AnotarApertura(*peticion.traza, comm1, Dispositivo(peticion), abierto);
}

void HacerPeticion(Peticion& peticion, PuertoControl& comm1, const VistaComunicando& vista) {
  peticion.xCancel = false;
  if (vista.progreso) vista.progreso(0);
  Despachar(peticion, comm1, vista);
  if (comm1.PortOpen()) comm1.SetPortOpen(false);
  if (vista.progreso) vista.progreso(100);
}

}  // namespace comm
