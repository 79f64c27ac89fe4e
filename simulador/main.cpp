#include <fstream>
#include <iostream>
#include <optional>
#include <system_error>

#include "indicador.h"
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

int Simular(const Opciones& opciones) {
  Indicador indicador({opciones.id, opciones.solo_linea, opciones.excepcion},
                      opciones.setup.value_or(SetupPorOmision()));
  for (const auto& [registro, valor] : opciones.registros) indicador.Escribir(registro, valor);

  Senales senales;
  Pty pty(*VelocidadTermios(opciones.baudios.value_or(9600)));
  std::optional<Enlace> enlace;
  if (!opciones.enlace.empty()) enlace.emplace(opciones.enlace, pty.Esclavo());
  std::cout << "PTY " << pty.Esclavo() << std::endl;

  Servidor(opciones, indicador, pty, senales).Servir();

  const bool volcado = Guardar(opciones.volcado, indicador.Volcado());
  const bool membrete = Guardar(opciones.membrete, indicador.Membrete());
  return volcado && membrete ? 0 : 1;
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
