#pragma once

#include <time.h>

#include <chrono>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "bus.h"
#include "enchufe.h"
#include "fallas.h"
#include "opciones_simulador.h"
#include "receptor.h"
#include "senales.h"

namespace simulador {

// Atiende el pseudoterminal hasta que una señal, la vida o --cerrar-tras lo terminan; entonces
// cierra el maestro. Un solo hilo que espera en ppoll() sin plazo mientras no hay nada
// pendiente: sin tráfico no gasta CPU.
class Servidor {
 public:
  Servidor(const Opciones& opciones, Bus& bus, Enchufe& enchufe, Senales& senales);
  void Servir();

  // Bytes del programa que chocaron con una respuesta (--semiduplex).
  long Colisiones() const { return colisiones_; }
  // Tramas de escritura (función 6) oídas en el bus, para cualquier ID.
  long EscriturasOidas() const { return escrituras_oidas_; }
  long Ignoradas() const { return fallas_.Ignoradas(); }

 private:
  using Reloj = std::chrono::steady_clock;
  struct Envio {
    Reloj::time_point cuando;
    std::string bytes;
    bool eco = false;  // del bus, no de un indicador
  };
  // Un byte del programa y cuándo termina de pasar por el bus.
  struct Entrante {
    Reloj::time_point cuando;
    char byte;
    bool oido;  // llegó a la velocidad a la que oye el indicador
  };
  // Lo que ocupa el bus una respuesta, desde que empieza su primer carácter.
  struct Tramo {
    Reloj::time_point inicio;
    Reloj::time_point fin;
    bool deformado = false;
  };

  void AtenderSenales(Reloj::time_point ahora);
  void Leer(Reloj::time_point ahora);
  Reloj::time_point Paso(Reloj::time_point ahora);
  void Oir(Reloj::time_point ahora);
  bool Choca(Reloj::time_point paso);
  void Devolver(Reloj::time_point cuando, char byte);
  void Atender(const Peticion& peticion, Reloj::time_point llegada);
  void Programar(const std::vector<std::string>& tramas, Reloj::time_point desde);
  Reloj::time_point Encolar(const std::string& bytes, Reloj::time_point desde);
  void EnviarVencidos(Reloj::time_point ahora);
  void AtenderEnchufe(Reloj::time_point ahora);
  void Desenchufar(Reloj::time_point ahora);
  void Enchufar();
  // Hasta cuándo esperar en ppoll(); nada: sin plazo.
  std::optional<timespec> Espera(Reloj::time_point ahora) const;
  // Si el programa ya leyó lo último que le enviamos, o se cansó de esperar.
  bool Leido(Reloj::time_point ahora) const;
  bool Terminado(Reloj::time_point ahora) const;

  const Opciones& opciones_;
  Bus& bus_;
  Enchufe& enchufe_;
  Senales& senales_;
  Fallas fallas_;
  Receptor receptor_;
  std::deque<Envio> cola_;
  std::deque<Entrante> entrantes_;
  std::deque<Tramo> al_aire_;
  Reloj::duration caracter_{0};  // un byte a 10 bits a la velocidad de --baudios
  // Con --eco-linea o --semiduplex lo que envía el programa ocupa el bus a su ritmo.
  bool ocupa_el_bus_;
  Reloj::time_point fin_del_programa_;  // cuándo acaba de pasar lo último que envió
  Reloj::time_point ultimo_byte_;
  Reloj::time_point ultimo_envio_;
  std::optional<Reloj::time_point> fin_vida_;
  std::optional<Reloj::time_point> vuelta_;  // cuándo se vuelve a enchufar
  long peticiones_ = 0;
  long colisiones_ = 0;
  long escrituras_oidas_ = 0;
  std::optional<speed_t> velocidad_;  // con --una-velocidad, la única a la que oye
  bool mudo_;
  bool senal_de_fin_ = false;
  bool cerrando_ = false;
  bool desenchufar_ = false;  // en cuanto el programa lea la última respuesta
};

}  // namespace simulador
