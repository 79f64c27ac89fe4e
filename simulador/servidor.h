#pragma once

#include <time.h>

#include <chrono>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "fallas.h"
#include "linea.h"
#include "opciones.h"
#include "pty.h"
#include "receptor.h"
#include "senales.h"

// Atiende el pseudoterminal hasta que una señal, la vida o --cerrar-tras lo terminan; entonces
// cierra el maestro. Un solo hilo que espera en ppoll() sin plazo mientras no hay nada
// pendiente: sin tráfico no gasta CPU.
class Servidor {
 public:
  Servidor(const Opciones& opciones, Linea& linea, Pty& pty, Senales& senales);
  void Servir();
  // Tramas de escritura (función 6) oídas en la línea, para cualquier ID.
  long Escrituras() const { return escrituras_; }

 private:
  using Reloj = std::chrono::steady_clock;
  struct Envio {
    Reloj::time_point cuando;
    std::string bytes;
  };

  void AtenderSenales();
  void Leer(Reloj::time_point ahora);
  void Atender(const Peticion& peticion, Reloj::time_point llegada);
  void Programar(const std::vector<std::string>& tramas, Reloj::time_point desde);
  Reloj::time_point Encolar(const std::string& bytes, Reloj::time_point desde);
  void EnviarVencidos(Reloj::time_point ahora);
  // Hasta cuándo esperar en ppoll(); nada: sin plazo.
  std::optional<timespec> Espera(Reloj::time_point ahora) const;
  bool Terminado(Reloj::time_point ahora) const;

  const Opciones& opciones_;
  Linea& linea_;
  Pty& pty_;
  Senales& senales_;
  Fallas fallas_;
  Receptor receptor_;
  std::deque<Envio> cola_;
  Reloj::duration caracter_{0};  // un byte a 10 bits a la velocidad de --baudios
  Reloj::time_point ultimo_byte_;
  Reloj::time_point ultimo_envio_;
  std::optional<Reloj::time_point> fin_vida_;
  long peticiones_ = 0;
  long escrituras_ = 0;
  std::optional<speed_t> velocidad_;  // con --una-velocidad, la única a la que oye
  bool mudo_;
  bool senal_de_fin_ = false;
  bool cerrando_ = false;
};
