#pragma once

#include <termios.h>

#include <optional>
#include <string>

namespace simulador {

// La constante de termios de una velocidad estándar.
std::optional<speed_t> VelocidadTermios(long baudios);

// Un pseudoterminal con su esclavo abierto por nosotros todo el tiempo: así el esclavo no queda
// sin dueño cuando el programa lo cierra, y podemos quitarle la exclusividad (TIOCEXCL) que el
// programa pone al abrirlo y que sobrevive a su cierre.
class Pty {
 public:
  // Lanza std::system_error si no puede.
  explicit Pty(speed_t velocidad);
  ~Pty();
  Pty(const Pty&) = delete;
  Pty& operator=(const Pty&) = delete;

  int Maestro() const { return maestro_; }
  const std::string& Esclavo() const { return ruta_; }
  // Legible cuando alguien cerró el esclavo.
  int Vigia() const { return vigia_; }

  // Deja que el programa vuelva a abrir el esclavo aunque lo tenga abierto en exclusiva.
  void QuitarExclusividad();

  // Tras un cierre del esclavo: le quita la exclusividad y tira lo que su dueño dejó sin leer,
  // que no es para el siguiente.
  void AtenderCierres();

  // La velocidad de salida que tiene puesta el esclavo, leída por el maestro: la del programa.
  speed_t Velocidad() const;

  // Bytes que enviamos y que nadie ha leído todavía del esclavo.
  int SinLeer() const;

  // Cierra el maestro: el programa ve su puerto colgado.
  void CerrarMaestro();

 private:
  int maestro_ = -1;
  int esclavo_ = -1;
  int vigia_ = -1;
  std::string ruta_;
};

// Enlace simbólico a un destino, mientras vive el objeto.
class Enlace {
 public:
  // Lanza std::system_error si no puede; reemplaza un enlace simbólico viejo, nunca otra cosa.
  Enlace(std::string ruta, std::string destino);
  ~Enlace();
  Enlace(const Enlace&) = delete;
  Enlace& operator=(const Enlace&) = delete;

 private:
  std::string ruta_;
  std::string destino_;
};

}  // namespace simulador
