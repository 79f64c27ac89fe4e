#include <fstream>
#include <iostream>
#include <optional>
#include <system_error>

#include "linea.h"
#include "opciones.h"
#include "pty.h"
#include "senales.h"
#include "servidor.h"
#include "setup.h"

namespace {

// Escribe `bytes` en `ruta` si se pidió; avisa si no pudo.
bool Guardar(const std::string& ruta, const std::string& bytes) {
  if (ruta.empty()) return true;
  std::ofstream archivo(ruta, std::ios::binary | std::ios::trunc);
  archivo.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  archivo.close();
  if (archivo) return true;
  std::cerr << "simulador: no se pudo escribir " << ruta << "\n";
  return false;
}

// Con un solo indicador, el archivo pedido; con varios, uno por indicador: ruta.ID.
std::string RutaDe(const std::string& ruta, size_t indicadores, uint8_t id) {
  if (ruta.empty() || indicadores == 1) return ruta;
  return ruta + "." + std::to_string(id);
}

Linea Preparar(const Opciones& opciones) {
  Linea linea(opciones.ids,
              {opciones.solo_linea, opciones.solo_registros, opciones.excepcion,
               opciones.contestar_difusion},
              opciones.setup.value_or(SetupPorOmision()));
  for (const uint8_t id : opciones.callados) linea.Buscar(id)->Callar();
  for (Indicador& indicador : linea.Indicadores()) {
    for (const Asignacion& asignacion : opciones.registros) {
      if (!asignacion.id || *asignacion.id == indicador.Id()) {
        indicador.Escribir(asignacion.registro, asignacion.valor);
      }
    }
  }
  return linea;
}

int Simular(const Opciones& opciones) {
  Linea linea = Preparar(opciones);

  Senales senales;
  Pty pty(*VelocidadTermios(opciones.baudios.value_or(9600)));
  std::optional<Enlace> enlace;
  if (!opciones.enlace.empty()) enlace.emplace(opciones.enlace, pty.Esclavo());
  std::cout << "PTY " << pty.Esclavo() << std::endl;

  Servidor servidor(opciones, linea, pty, senales);
  servidor.Servir();

  bool guardado = Guardar(opciones.escrituras, std::to_string(servidor.Escrituras()) + "\n");
  const size_t cuantos = linea.Indicadores().size();
  for (const Indicador& indicador : linea.Indicadores()) {
    guardado &= Guardar(RutaDe(opciones.volcado, cuantos, indicador.Id()), indicador.Volcado());
    guardado &= Guardar(RutaDe(opciones.membrete, cuantos, indicador.Id()), indicador.Membrete());
  }
  return guardado ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  Opciones opciones;
  try {
    opciones = LeerOpciones(argc, argv);
  } catch (const OpcionInvalida& error) {
    std::cerr << "simulador: " << error.what() << "\nVea simulador --help.\n";
    return 2;
  }
  if (opciones.ayuda) {
    std::cout << Ayuda();
    return 0;
  }
  try {
    return Simular(opciones);
  } catch (const std::system_error& error) {
    std::cerr << "simulador: " << error.what() << "\n";
    return 1;
  }
}
