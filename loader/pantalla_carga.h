#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "peticion.h"

namespace carga {

// Lo que los flujos de la ventana principal piden a la ventana de cada plataforma: leer y
// mostrar sus controles, mostrar cajas y diálogos. Los textos llegan en UTF-8.
class PantallaCarga {
 public:
  // Lo que dura un aviso en la barra de estado: lo bastante para leerlo sin quitar la vista
  // del indicador mucho rato.
  static constexpr int kMsAviso = 10000;

  enum class Icono { Ninguno, Critico, Exclamacion };

  virtual ~PantallaCarga() = default;

  // Puerto (posición + 1), velocidad (posición) e ID que se ven en pantalla.
  virtual comm::Seleccion Eleccion() const = 0;
  // Los nombres de la lista de puertos, "Com1" primero.
  virtual void MostrarPuertos(const std::vector<std::string>& nombres) = 0;
  // Pone las listas y la barra del ID; una posición fuera de la lista la deja sin elección.
  virtual void MostrarEleccion(const comm::Seleccion& eleccion) = 0;

  // La casilla "No mostrar al inicio".
  virtual bool NoMostrar() const = 0;
  virtual void MarcarNoMostrar(bool marcada) = 0;
  // El panel de ayuda: a la vista (Left 0) o fuera de ella (Left 5600).
  virtual void MostrarAyuda(bool visible) = 0;

  virtual void Version(const std::string& texto) = 0;
  // Panel 1 de la barra de estado.
  virtual void Estado(const std::string& texto) = 0;
  // Un aviso pasajero en la barra de estado, que no borra el estado; dura kMsAviso.
  virtual void Aviso(const std::string& texto) = 0;
  virtual void MostrarFin(bool visible) = 0;  // Lbl_Fin
  virtual void HabilitarBuscar() = 0;
  virtual void HabilitarSubir() = 0;

  // Caja de mensaje modal con un solo botón Aceptar.
  virtual void Caja(const std::string& titulo, const std::string& texto, Icono icono) = 0;
  // El diálogo de abrir archivo, en `carpeta` con el filtro de textos; nada si se canceló.
  virtual std::optional<std::filesystem::path> ElegirArchivo(
      const std::filesystem::path& carpeta) = 0;
  // Muestra "Comunicando" con la petición, centrado sobre la ventana, y vuelve cuando la
  // petición terminó.
  virtual void Comunicar(comm::Peticion& peticion) = 0;
  // Termina el programa sin más eventos.
  virtual void Terminar() = 0;
};

}  // namespace carga
