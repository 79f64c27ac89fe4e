#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "puerto.h"

// Puerto guionado con reloj falso: Esperar avanza el reloj hasta el plazo o hasta que llegan
// los bytes que faltan, sin esperas reales. Cada trama escrita queda anotada con su hora.
class PuertoFalso : public comm::Puerto {
 public:
  struct Escrito {
    std::string trama;
    Reloj::time_point cuando;
  };

  // Se llama en cada Output con la trama y su número (desde 0); suele programar la respuesta.
  std::function<void(const std::string& trama, std::size_t numero)> responder;
  std::vector<Escrito> escritos;
  long baudios = 0;

  // Programa la llegada de `bytes` a `despues` de la hora actual del reloj falso.
  void Llegar(std::chrono::microseconds despues, const std::string& bytes) {
    const Llegada llegada{ahora_ + despues, bytes};
    const auto pos =
        std::upper_bound(pendientes_.begin(), pendientes_.end(), llegada,
                         [](const Llegada& a, const Llegada& b) { return a.cuando < b.cuando; });
    pendientes_.insert(pos, llegada);
  }

  // Hora de la trama `i` desde el inicio.
  std::chrono::microseconds HoraDe(std::size_t i) const {
    return std::chrono::duration_cast<std::chrono::microseconds>(escritos.at(i).cuando - inicio_);
  }

  std::string Input() override {
    Entregar();
    std::string todo;
    todo.swap(buffer_);
    return todo;
  }

  void Output(const std::string& datos) override {
    escritos.push_back({datos, ahora_});
    if (responder) responder(datos, escritos.size() - 1);
  }

  std::size_t InBufferCount() override {
    Entregar();
    return buffer_.size();
  }

  void Esperar(std::size_t n, Reloj::time_point limite) override {
    Entregar();
    while (buffer_.size() < n) {
      if (pendientes_.empty() || pendientes_.front().cuando > limite) {
        ahora_ = std::max(ahora_, limite);
        Entregar();
        return;
      }
      ahora_ = std::max(ahora_, pendientes_.front().cuando);
      Entregar();
    }
  }

  Reloj::time_point Ahora() override { return ahora_; }
  Reloj::time_point UltimaRecepcion() override { return ultimaRecepcion_; }
  long Baudios() override { return baudios; }

 private:
  struct Llegada {
    Reloj::time_point cuando;
    std::string bytes;
  };

  void Entregar() {
    while (!pendientes_.empty() && pendientes_.front().cuando <= ahora_) {
      buffer_ += pendientes_.front().bytes;
      ultimaRecepcion_ = pendientes_.front().cuando;
      pendientes_.pop_front();
    }
  }

  // Lejos del cero del reloj, como un reloj monótono real.
  const Reloj::time_point inicio_ = Reloj::time_point{} + std::chrono::hours(1);
  Reloj::time_point ahora_ = inicio_;
  Reloj::time_point ultimaRecepcion_{};
  std::deque<Llegada> pendientes_;
  std::string buffer_;
};
