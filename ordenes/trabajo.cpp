#include "trabajo.h"

#include <cstdio>
#include <iomanip>
#include <sstream>
#include <vector>

#include "ajustes.h"
#include "barra.h"
#include "comunicacion.h"
#include "nombre_puerto.h"
#include "pasos.h"
#include "puerto_contado.h"
#include "textos.h"

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

std::string Hex(const std::string& bytes) {
  std::string texto;
  char cifras[4];
  for (unsigned char byte : bytes) {
    std::snprintf(cifras, sizeof cifras, texto.empty() ? "%02X" : " %02X", byte);
    texto += cifras;
  }
  return texto;
}

Desenlace Subir(const Peticion& dialogo, const std::string& membrete, const Comunicar& comunicar) {
  if (SubirMembrete(dialogo, membrete, comunicar)) return {true, textos::kFin};
  return {false, "Error al cargar el Ticket"};
}

// Con varios IDs, cada membrete lleva delante una línea con su ID.
Desenlace Leer(const Peticion& dialogo, const Orden& orden, bool varios, const Comunicar& comunicar,
               std::ostream& salida) {
  const std::optional<std::string> registros = LeerMembreteIndicador(dialogo, comunicar);
  if (!registros) return {false, "Sin respuesta completa"};
  const std::string membrete = registros->substr(0, registros->find('\0'));
  const std::string cabecera = varios ? "ID " + std::to_string(dialogo.linea.id) + ":" : "";
  if (orden.hex) {
    salida << cabecera << (varios ? " " : "") << Hex(membrete) << '\n';
  } else {
    if (varios) salida << cabecera << '\n';
    salida << membrete;
    if (varios) salida << '\n';
  }
  salida.flush();
  return {true, "Leído: " + std::to_string(membrete.size()) + " bytes"};
}

// Las claves salen como las guarda Brun_Kqt.ini, que también las recibe.
Desenlace Conectar(const Peticion& dialogo, bool varios, const Comunicar& comunicar,
                   std::ostream& salida) {
  const Conexion conexion = ::Conectar(dialogo, comunicar);
  switch (conexion.respuesta) {
    case Respuesta::Registros:
      return {true, "Conectado: responden los registros"};
    case Respuesta::OrdenLinea: {
      std::string texto;
      for (const auto& [clave, valor] : conexion.setup) {
        texto = ConAjuste(texto, "Setup", clave, std::to_string(valor)).value_or(texto);
      }
      if (varios) salida << "; ID " << dialogo.linea.id << "\r\n";
      salida << texto << std::flush;
      return {true, "Conectado: responde la orden M"};
    }
    case Respuesta::Ninguna:
      break;
  }
  return {false, "Sin comunicación"};
}

// `texto` completado con blancos hasta `ancho` letras; UTF-8 cuenta una por letra, no por byte.
std::string Columna(const std::string& texto, std::size_t ancho) {
  std::size_t letras = 0;
  for (unsigned char byte : texto) {
    if ((byte & 0xC0) != 0x80) ++letras;
  }
  return texto + std::string(ancho > letras ? ancho - letras : 0, ' ');
}

std::string Segundos(double segundos) {
  std::ostringstream texto;
  texto << std::fixed << std::setprecision(2) << segundos;
  std::string coma = texto.str();
  coma.replace(coma.find('.'), 1, ",");
  return coma + " s";
}

void Tabla(const std::vector<Resultado>& resultados, std::ostream& errores) {
  errores << " ID  " << Columna("Resultado", 36) << std::setw(8) << "Intentos" << std::setw(10)
          << "Tiempo" << '\n';
  long correctos = 0;
  for (const Resultado& r : resultados) {
    errores << std::setw(3) << r.id << "  " << Columna(r.texto, 36) << std::setw(8) << r.intentos
            << std::setw(10) << Segundos(r.segundos) << '\n';
    if (r.exito) ++correctos;
  }
  errores << "Correctos: " << correctos << " de " << resultados.size() << '\n';
}

std::string Velocidad(long baudios) {
  return baudios > 0 ? ", " + std::to_string(baudios) + " baudios" : "";
}

}  // namespace

int CorrerTrabajo(const Orden& orden, const std::string& membrete, const Consola& consola) {
  Seleccion linea = SeleccionGuardada();
  // Sin puerto elegido, el control del puerto queda en el suyo, que es Com1.
  if (linea.puerto == 0) linea.puerto = 1;
  if (orden.puerto) linea.puerto = *orden.puerto;
  if (orden.baudios) linea.baudios = *orden.baudios;
  FijarDispositivo(orden.dispositivo);
  const std::vector<long> ids = orden.ids.empty() ? std::vector<long>{linea.id} : orden.ids;

  PuertoContado puerto(consola.puerto);
  Peticion base;
  base.linea = linea;
  AbrirPuerto(puerto, base);
  const std::string nombre =
      "Com" + std::to_string(linea.puerto) + " (" + NombrePuerto(linea.puerto) + ")";
  if (!puerto.PortOpen()) {
    consola.errores << "No se puede abrir " << nombre << ": " << puerto.ErrorApertura() << '\n';
    return 1;
  }
  consola.errores << "Puerto " << nombre << Velocidad(puerto.Baudios()) << '\n';

  Barra barra(consola.errores, consola.terminal);
  std::vector<Resultado> resultados;
  for (long id : ids) {
    const std::string etiqueta = "ID " + std::to_string(id);
    const Dialogo dialogo{nullptr, [&](float valor) { barra.Mostrar(etiqueta, valor); }, nullptr};
    const Comunicar comunicar = [&](Peticion& p) { Despachar(p, puerto, dialogo); };
    Peticion peticion = base;
    peticion.linea.id = id;
    const long enviosAntes = puerto.Envios();
    const auto inicio = puerto.Ahora();

    Desenlace desenlace{false, ""};
    const bool varios = ids.size() > 1;
    switch (orden.tarea) {
      case Tarea::Subir:
        desenlace = Subir(peticion, membrete, comunicar);
        break;
      case Tarea::Leer:
        desenlace = Leer(peticion, orden, varios, comunicar, consola.salida);
        break;
      default:
        desenlace = Conectar(peticion, varios, comunicar, consola.salida);
        break;
    }
    barra.Borrar();
    const std::chrono::duration<double> tiempo = puerto.Ahora() - inicio;
    resultados.push_back(
        {id, desenlace.exito, desenlace.texto, puerto.Envios() - enviosAntes, tiempo.count()});
  }
  puerto.SetPortOpen(false);

  Tabla(resultados, consola.errores);
  for (const Resultado& r : resultados) {
    if (!r.exito) return 1;
  }
  return 0;
}
