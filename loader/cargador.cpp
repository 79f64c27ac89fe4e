#include "cargador.h"

#include <utility>

#include "ajuste_entero.h"
#include "pasos.h"
#include "seleccion_guardada.h"
#include "textos.h"

using namespace almacen;
using namespace comm;

namespace carga {

namespace {

const char* const kAvisoAjustes = "No se pudieron guardar los ajustes en Brun_Kqt.ini";

std::string TextoVersion() {
  return "Versión " + std::to_string(VERSION_MAYOR) + "." + std::to_string(VERSION_MENOR) + "." +
         std::to_string(VERSION_REVISION);
}

}  // namespace

Cargador::Cargador(PantallaCarga& pantalla, Ajustes ajustes, Traza* traza, Ecos& ecos, PuertosPc pc)
    : pantalla_(pantalla),
      ajustes_(std::move(ajustes)),
      mapa_(ajustes_),
      traza_(traza),
      ecos_(ecos),
      pc_(std::move(pc)) {}

void Cargador::Form_Load() {
  pantalla_.MarcarNoMostrar(AjusteEntero(ajustes_, "Global", "Mostrar", 0, 0, 1) == 1);
  const Seleccion guardada = SeleccionGuardada(ajustes_);
  puertos_ = ArmarPuertos(pc_, guardada.puerto, mapa_);
  pantalla_.MostrarPuertos(puertos_.nombres);
  pantalla_.MostrarEleccion(guardada);
  pantalla_.Version(TextoVersion());
  if (!pantalla_.NoMostrar()) pantalla_.MostrarAyuda(true);
}

void Cargador::Chk_inicio_Click() {
  ajustes_.EscribirIni("Global", "Mostrar", pantalla_.NoMostrar() ? 1L : 0L);
}

void Cargador::Cmd_Salir_Click() {
  GuardarEleccion();
  std::int16_t cancel = 1;
  Form_Unload(cancel);
}

void Cargador::Form_Unload(std::int16_t& Cancel) {
  if (Cancel != 0) {
    pantalla_.Terminar();
    return;
  }
  pantalla_.Caja(textos::kTituloPrograma, "Debe utilizar el botón SALIR\r\r Para cerrar su sesión",
                 PantallaCarga::Icono::Ninguno);
  Cancel = 1;
}

// Se guarda como al salir, pero la petición usa lo que se ve en pantalla aunque el archivo no
// se haya podido escribir (carpeta de solo lectura, disco lleno): entonces se avisa una vez.
Seleccion Cargador::GuardarEleccion() {
  const Seleccion eleccion = pantalla_.Eleccion();
  bool guardada = GuardarSeleccion(ajustes_, eleccion);
  // Desde ahora el número es de ese adaptador, aunque se enchufen otros.
  const auto adaptador = puertos_.nuevos.find(eleccion.puerto);
  if (adaptador != puertos_.nuevos.end()) {
    const bool asignado = ajustes_.IntentarEscribirIni(
        "Puertos", "Com" + std::to_string(eleccion.puerto), adaptador->second);
    if (asignado) puertos_.nuevos.erase(adaptador);
    guardada = asignado && guardada;
  }
  if (!guardada) pantalla_.Aviso(kAvisoAjustes);
  return eleccion;
}

Peticion Cargador::NuevaPeticion(const Seleccion& seleccion) const {
  Peticion peticion;
  peticion.seleccion = seleccion;
  // Un adaptador nuevo cuya clave no se pudo guardar sigue siendo el elegido.
  const auto adaptador = puertos_.nuevos.find(seleccion.puerto);
  peticion.dispositivo =
      adaptador != puertos_.nuevos.end() ? adaptador->second : mapa_.Dispositivo(seleccion.puerto);
  peticion.traza = traza_;
  peticion.ecos = &ecos_;
  return peticion;
}

void Cargador::CmdConect_Click() {
  pantalla_.MostrarFin(false);
  pantalla_.Estado("Conectando...");
  if (conec() == 1) {
    pantalla_.Estado("Estado: Conectado");
    pantalla_.HabilitarBuscar();
  } else {
    pantalla_.Caja("Error", "No se puede establecer la comunicacion con el indicador",
                   PantallaCarga::Icono::Critico);
    pantalla_.Estado("Estado: Desconectado");
  }
}

int Cargador::conec() {
  const Conexion conexion = Conectar(
      NuevaPeticion(GuardarEleccion()), [this](Peticion& p) { pantalla_.Comunicar(p); }, ajustes_);
  return conexion.via == Via::Ninguna ? 0 : 1;
}

void Cargador::CmdBuscar_Click() {
  pantalla_.MostrarFin(false);
  buscar();
  if (!Membrete.empty()) pantalla_.HabilitarSubir();
}

void Cargador::buscar() {
  Membrete.clear();
  const std::optional<std::filesystem::path> elegido =
      pantalla_.ElegirArchivo(ajustes_.Carpeta() / textos::kCarpetaMembretes);
  if (!elegido) return;

  const LecturaMembrete lectura = LeerMembrete(*elegido);
  switch (lectura.estado) {
    case EstadoLectura::Leido:
      Membrete = lectura.texto;
      break;
    case EstadoLectura::DemasiadoLargo:
      pantalla_.Caja("Error", "La longitud del formulario es mayor a 75 bytes",
                     PantallaCarga::Icono::Exclamacion);
      break;
    case EstadoLectura::Error:
      break;
  }
}

void Cargador::CmdSubir_Click() {
  pantalla_.MostrarFin(false);
  subir();
}

void Cargador::subir() {
  const Motivo subida = SubirMembrete(NuevaPeticion(GuardarEleccion()), Membrete,
                                      [this](Peticion& p) { pantalla_.Comunicar(p); });
  if (subida.Exito()) {
    pantalla_.MostrarFin(true);
  } else {
    pantalla_.Caja("Error", textos::kErrorCarga, PantallaCarga::Icono::Critico);
  }
}

}  // namespace carga
