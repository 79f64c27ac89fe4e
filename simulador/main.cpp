#include <fstream>
#include <iostream>
#include <optional>
#include <system_error>

#include "bus.h"
#include "enchufe.h"
#include "opciones_simulador.h"
#include "pty.h"
#include "senales.h"
#include "servidor.h"
#include "setup.h"

namespace simulador {
namespace {

// Escribe `bytes` en `ruta` si se pidió; avisa si no pudo.
bool EscribirArchivo(const std::string& ruta, const std::string& bytes) {
  if (ruta.empty()) return true;
  std::ofstream archivo(ruta, std::ios::binary | std::ios::trunc);
  archivo.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  archivo.close();
  if (archivo) return true;
  std::cerr << "simulador: no se pudo escribir " << ruta << "\n";
  return false;
}

// Con un solo indicador, el archivo pedido; con varios, uno por indicador: ruta.ID.
std::string RutaDe(const std::string& ruta, size_t cuantos, uint8_t id) {
  if (ruta.empty() || cuantos == 1) return ruta;
  return ruta + "." + std::to_string(id);
}

// Las cuentas que se pidieron, en la salida de errores y en sus archivos.
bool Cuentas(const Opciones& opciones, const Servidor& servidor) {
  if (opciones.semiduplex) {
    std::cerr << "simulador: " << servidor.Colisiones() << " bytes chocaron en la línea\n";
  }
  const bool colisiones =
      EscribirArchivo(opciones.archivo_colisiones, std::to_string(servidor.Colisiones()) + "\n");
  const bool escrituras =
      EscribirArchivo(opciones.archivo_escrituras,
                      "escrituras " + std::to_string(servidor.EscriturasOidas()) + "\nignoradas " +
                          std::to_string(servidor.Ignoradas()) + "\n");
  return colisiones && escrituras;
}

Bus PrepararBus(const Opciones& opciones) {
  Bus bus(opciones.ids,
          {opciones.solo_ordenes, opciones.solo_modbus, opciones.excepcion, opciones.negar_lectura,
           opciones.contestar_difusion},
          opciones.setup.value_or(SetupPorOmision()));
  for (const uint8_t id : opciones.callados) bus.Buscar(id)->Callar();
  for (Indicador& indicador : bus.Indicadores()) {
    for (const Asignacion& asignacion : opciones.asignaciones) {
      if (!asignacion.id || *asignacion.id == indicador.Id()) {
        indicador.Escribir(asignacion.registro, asignacion.valor);
      }
    }
  }
  return bus;
}

int Simular(const Opciones& opciones) {
  Bus bus = PrepararBus(opciones);

  Senales senales;
  Enchufe enchufe(*VelocidadTermios(opciones.baudios.value_or(9600)), opciones.enlace);
  std::cout << "PTY " << enchufe.Actual().Esclavo() << std::endl;

  Servidor servidor(opciones, bus, enchufe, senales);
  servidor.Servir();

  bool escritos = Cuentas(opciones, servidor);
  const size_t cuantos = bus.Indicadores().size();
  for (const Indicador& indicador : bus.Indicadores()) {
    escritos &= EscribirArchivo(RutaDe(opciones.archivo_volcado, cuantos, indicador.Id()),
                                indicador.Volcado());
    escritos &= EscribirArchivo(RutaDe(opciones.archivo_membrete, cuantos, indicador.Id()),
                                indicador.Membrete());
  }
  return escritos ? 0 : 1;
}

}  // namespace
}  // namespace simulador

int main(int argc, char** argv) {
  simulador::Opciones opciones;
  try {
    opciones = simulador::LeerOpciones(argc, argv);
  } catch (const simulador::OpcionInvalida& error) {
    std::cerr << "simulador: " << error.what() << "\nVea simulador --help.\n";
    return 2;
  }
  if (opciones.ayuda) {
    std::cout << simulador::Ayuda();
    return 0;
  }
  try {
    return simulador::Simular(opciones);
  } catch (const std::system_error& error) {
    std::cerr << "simulador: " << error.what() << "\n";
    return 1;
  }
}
