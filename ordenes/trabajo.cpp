#include "trabajo.h"

#include <algorithm>
#include <iomanip>
#include <memory>
#include <sstream>
#include <vector>

#include "ajustes.h"
#include "barra.h"
#include "buscar.h"
#include "comunicacion.h"
#include "ecos.h"
#include "hex.h"
#include "nombre_puerto.h"
#include "pasos.h"
#include "puerto_contado.h"
#include "seleccion_guardada.h"
#include "textos.h"
#include "traza_archivo.h"

using namespace almacen;
using namespace comm;
using namespace carga;

namespace ordenes {

namespace {

struct Resultado {
  long id;
  bool exito;
  std::string texto;
  long intentos;
  double segundos;
};

struct Desenlace {
  bool exito;
  std::string texto;
};

// La falla con su motivo: "Error al cargar el Ticket: excepción 2".
Desenlace Falla(const std::string& texto, const Motivo& motivo) {
  return {false, texto + ": " + TextoMotivo(motivo)};
}

Desenlace Subir(const Peticion& peticion, const std::string& membrete, const Comunicar& comunicar) {
  const Motivo subida = SubirMembrete(peticion, membrete, comunicar);
  if (subida.Exito()) return {true, textos::kFin};
  return Falla(textos::kErrorCarga, subida);
}

// Con varios IDs, cada membrete lleva delante una línea con su ID.
Desenlace Leer(const Peticion& peticion, const Orden& orden, bool varios,
               const Comunicar& comunicar, std::ostream& salida) {
  const Entrega registros = LeerMembreteIndicador(peticion, comunicar);
  if (!registros.motivo.Exito()) return Falla("Sin respuesta completa", registros.motivo);
  const std::string membrete = registros.datos.substr(0, registros.datos.find('\0'));
  if (varios) salida << "ID " << peticion.seleccion.id << ':' << (orden.hex ? " " : "\n");
  salida << (orden.hex ? Hex(membrete) + "\n" : membrete);
  if (varios && !orden.hex) salida << '\n';
  salida.flush();
  return {true, "Leído: " + std::to_string(membrete.size()) + " bytes"};
}

// Las claves salen como las guarda Brun_Kqt.ini, que también las recibe.
Desenlace Conectar(const Peticion& peticion, bool varios, const Comunicar& comunicar,
                   const Ajustes& ajustes, std::ostream& salida) {
  const Conexion conexion = carga::Conectar(peticion, comunicar, ajustes);
  switch (conexion.via) {
    case Via::Registros:
      return {true, "Conectado: responden los registros"};
    case Via::OrdenDeLinea: {
      std::string texto;
      for (const auto& [clave, valor] : conexion.setup) {
        texto = ConAjuste(texto, "Setup", clave, std::to_string(valor)).value_or(texto);
      }
      if (varios) salida << "; ID " << peticion.seleccion.id << "\r\n";
      salida << texto << std::flush;
      return {true, "Conectado: responde la orden M"};
    }
    case Via::Ninguna:
      break;
  }
  // Los dos motivos, o uno si la lectura y la orden fallaron igual.
  Desenlace falla = Falla("Sin comunicación", conexion.sondeo);
  const std::string ordenM = conexion.ordenM ? TextoMotivo(*conexion.ordenM) : "";
  if (!ordenM.empty() && ordenM != TextoMotivo(conexion.sondeo)) {
    falla.texto += "; orden M: " + ordenM;
  }
  return falla;
}

// Letras de `texto`: UTF-8 cuenta una por letra, no por byte.
std::size_t Letras(const std::string& texto) {
  return static_cast<std::size_t>(std::count_if(
      texto.begin(), texto.end(), [](unsigned char byte) { return (byte & 0xC0) != 0x80; }));
}

// `texto` completado con blancos hasta `ancho` letras.
std::string Columna(const std::string& texto, std::size_t ancho) {
  const std::size_t letras = Letras(texto);
  return texto + std::string(ancho > letras ? ancho - letras : 0, ' ');
}

std::string Segundos(double segundos) {
  std::ostringstream texto;
  texto << std::fixed << std::setprecision(2) << segundos;
  std::string coma = texto.str();
  coma.replace(coma.find('.'), 1, ",");
  return coma + " s";
}

// La columna "Resultado" tiene 36 letras, o las del resultado más largo: las filas siguen
// alineadas aunque un motivo sea largo.
void Tabla(const std::vector<Resultado>& resultados, std::ostream& errores) {
  std::size_t ancho = 36;
  for (const Resultado& r : resultados) ancho = std::max(ancho, Letras(r.texto));
  errores << " ID  " << Columna("Resultado", ancho) << std::setw(8) << "Intentos" << std::setw(10)
          << "Tiempo" << '\n';
  long correctos = 0;
  for (const Resultado& r : resultados) {
    errores << std::setw(3) << r.id << "  " << Columna(r.texto, ancho) << std::setw(8) << r.intentos
            << std::setw(10) << Segundos(r.segundos) << '\n';
    if (r.exito) ++correctos;
  }
  errores << "Correctos: " << correctos << " de " << resultados.size() << '\n';
}

std::string Velocidad(long baudios) {
  return baudios > 0 ? ", " + std::to_string(baudios) + " baudios" : "";
}

// La selección de esta orden: lo guardado, con lo que diga la orden encima.
Seleccion SeleccionDeLaOrden(const Orden& orden, const Ajustes& ajustes) {
  Seleccion seleccion = SeleccionGuardada(ajustes);
  // Sin puerto elegido, el control del puerto queda en el suyo, que es Com1.
  if (seleccion.puerto == 0) seleccion.puerto = 1;
  if (orden.puerto) seleccion.puerto = *orden.puerto;
  if (!orden.baudios.empty()) seleccion.baudios = orden.baudios.front();
  return seleccion;
}

Desenlace HacerTarea(const Orden& orden, const std::string& membrete, const Peticion& peticion,
                     bool varios, const Comunicar& comunicar, const Consola& consola) {
  switch (orden.tarea) {
    case Tarea::Subir:
      return Subir(peticion, membrete, comunicar);
    case Tarea::Leer:
      return Leer(peticion, orden, varios, comunicar, consola.salida);
    default:
      return Conectar(peticion, varios, comunicar, consola.ajustes, consola.salida);
  }
}

// La tarea con cada ID de la orden, en turno, y su tabla.
int CorrerPorIds(const Orden& orden, const std::string& membrete, const Peticion& base,
                 PuertoContado& puerto, const Consola& consola) {
  const std::vector<long> ids =
      orden.ids.empty() ? std::vector<long>{base.seleccion.id} : orden.ids;
  Barra barra(consola.errores, consola.terminal);
  std::vector<Resultado> resultados;
  for (long id : ids) {
    // Un adaptador que se quitó deja el puerto cerrado; si ya volvió, este ID lo reabre.
    AbrirPuerto(puerto, base);
    const std::string etiqueta = "ID " + std::to_string(id);
    const VistaComunicando vista{nullptr, [&](float valor) { barra.Mostrar(etiqueta, valor); },
                                 nullptr};
    Peticion peticion = base;
    peticion.seleccion.id = id;
    const long enviosAntes = puerto.Envios();
    const auto inicio = puerto.Ahora();
    const Desenlace desenlace = HacerTarea(
        orden, membrete, peticion, ids.size() > 1,
        [&](Peticion& p) { Despachar(p, puerto, vista); }, consola);
    barra.Borrar();
    const std::chrono::duration<double> tiempo = puerto.Ahora() - inicio;
    resultados.push_back(
        {id, desenlace.exito, desenlace.texto, puerto.Envios() - enviosAntes, tiempo.count()});
  }
  Tabla(resultados, consola.errores);
  const bool todos =
      std::all_of(resultados.begin(), resultados.end(), [](const Resultado& r) { return r.exito; });
  return todos ? 0 : 1;
}

// Las opciones que nombran este puerto, para repetirlas.
std::string ComoPuerto(const Orden& orden, long numero) {
  return orden.dispositivo.empty() ? "--puerto " + std::to_string(numero)
                                   : "--dispositivo " + orden.dispositivo;
}

}  // namespace

int CorrerTrabajo(const Orden& orden, const std::string& membrete, const Consola& consola) {
  // Como en la ventana, también la pide el ajuste [Diagnostico] Traza = 1.
  const std::unique_ptr<Traza> traza = AbrirTraza(consola.ajustes, orden.traza);
  // Lo que se aprende del eco de la línea vale para toda la orden.
  Ecos ecos;
  Peticion base;
  base.seleccion = SeleccionDeLaOrden(orden, consola.ajustes);
  // --dispositivo vale para cualquier número y no toca los ajustes.
  const MapaPuertos mapa = orden.dispositivo.empty() ? MapaPuertos(consola.ajustes)
                                                     : MapaPuertos::Fijo(orden.dispositivo);
  base.dispositivo = mapa.Dispositivo(base.seleccion.puerto);
  base.traza = traza.get();
  base.ecos = &ecos;

  PuertoContado puerto(consola.puerto);
  AbrirPuerto(puerto, base);
  const long numero = base.seleccion.puerto;
  const std::string nombre = "Com" + std::to_string(numero) + " (" + base.dispositivo + ")";
  if (!puerto.PortOpen()) {
    consola.errores << "No se puede abrir " << nombre << ": " << puerto.ErrorApertura() << '\n';
    return 1;
  }
  // Al buscar, la velocidad cambia en cada paso.
  const bool buscar = orden.tarea == Tarea::Buscar;
  consola.errores << "Puerto " << nombre << (buscar ? "" : Velocidad(puerto.Baudios())) << '\n';
  const int codigo =
      buscar ? CorrerBusqueda(orden, ComoPuerto(orden, numero), puerto, traza.get(),
                              EcoDelPuerto(&ecos, base.dispositivo, traza.get()), consola)
             : CorrerPorIds(orden, membrete, base, puerto, consola);
  puerto.SetPortOpen(false);
  return codigo;
}

}  // namespace ordenes
