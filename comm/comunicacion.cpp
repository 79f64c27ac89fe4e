#include "comunicacion.h"

#include <iterator>
#include <optional>

#include "linea.h"
#include "nombre_puerto.h"
#include "numero.h"
#include "transferencia.h"
#include "traza.h"
#include "velocidades.h"

namespace {

// Un "R" está completo cuando trae dos caracteres por cada registro pedido.
bool LecturaCompleta(const std::string& datos, const std::string& longitud) {
  const std::optional<long> registros = EnteroDe(longitud);
  return registros && *registros >= 0 &&
         datos.size() == 2 * static_cast<unsigned long long>(*registros);
}

// El texto de Label1 durante "R" y "T": el de la petición o el de su clase.
void TextoDeEstado(const Peticion& peticion, const Dialogo& dialogo, const char* porDefecto) {
  if (dialogo.estado) dialogo.estado(peticion.xText.empty() ? porDefecto : peticion.xText);
}

void AnotarApertura(Traza& traza, PuertoControl& comm1, const std::string& nombre, bool abierto) {
  if (abierto) {
    traza.Anotar("abre " + nombre + " a " + std::to_string(comm1.Baudios()) + " baudios");
  } else {
    traza.Anotar("no se pudo abrir " + nombre + ": " + comm1.ErrorApertura());
  }
}

std::string Dispositivo(const Peticion& peticion) {
  return peticion.dispositivo.empty() ? NombrePorDefecto(peticion.linea.puerto)
                                      : peticion.dispositivo;
}

}  // namespace

// Los procedimientos reciben copias: el relleno de "T" y el marco de "C" no llegan a los campos.
void Despachar(Peticion& peticion, PuertoControl& comm1, const Dialogo& dialogo) {
  const bool abierto = comm1.PortOpen();
  Avance avance{dialogo.progreso, dialogo.procesarEventos, [&] { return peticion.xCancel; },
                peticion.traza};
  const EcoDelPuerto eco(peticion.ecos, Dispositivo(peticion), peticion.traza);
  Transferencia transferencia(comm1, peticion.linea.id, avance, eco);
  if (peticion.xFnc == "R") {
    TextoDeEstado(peticion, dialogo, "Recibiendo datos...");
    const std::string direccion = peticion.xDire;
    const std::string longitud = peticion.xLong;
    const Lectura lectura = transferencia.Leer(direccion, longitud);
    peticion.xOK = LecturaCompleta(lectura.datos, longitud);
    peticion.rechazada = lectura.rechazada;
    peticion.xDato = lectura.datos;
  } else if (peticion.xFnc == "T") {
    TextoDeEstado(peticion, dialogo, "Enviando datos...");
    const std::string direccion = peticion.xDire;
    std::string dato = peticion.xDato;
    peticion.xOK = !transferencia.Escribir(direccion, dato).empty();
  } else if (peticion.xFnc == "C") {
    peticion.xDato = TRxC(comm1, peticion.xDato, peticion.traza, eco);
  }
  // El control cierra el puerto que da error, como el de un adaptador que se quita.
  if (abierto && !comm1.PortOpen() && peticion.traza) {
    peticion.traza->Anotar("se perdió el puerto: el adaptador se quitó o dejó de responder");
  }
}

// Cada paso que falla se salta: la petición fallará después por su resultado.
void AbrirPuerto(PuertoControl& comm1, const Peticion& peticion) {
  if (comm1.PortOpen()) return;
  comm1.SetRTSEnable(true);
  if (comm1.SetCommPort(peticion.linea.puerto)) comm1.SetDispositivo(peticion.dispositivo);
  comm1.SetHandshaking(0);
  const long indice = peticion.linea.baudios;
  if (indice >= 0 && indice < static_cast<long>(std::size(kVelocidades))) {
    comm1.SetSettings(std::string(kVelocidades[indice]) + ",n,8,1");
  }
  const bool abierto = comm1.SetPortOpen(true);
  if (peticion.traza) AnotarApertura(*peticion.traza, comm1, Dispositivo(peticion), abierto);
}

void HacerPeticion(Peticion& peticion, PuertoControl& comm1, const Dialogo& dialogo) {
  peticion.xCancel = false;
  if (dialogo.progreso) dialogo.progreso(0);
  Despachar(peticion, comm1, dialogo);
  if (comm1.PortOpen()) comm1.SetPortOpen(false);
  if (dialogo.progreso) dialogo.progreso(100);
}
