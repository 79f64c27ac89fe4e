#include "enchufe.h"

#include <utility>

namespace simulador {

Enchufe::Enchufe(speed_t velocidad, std::string enlace)
    : velocidad_(velocidad), enlace_(std::move(enlace)) {
  Enchufar();
}

void Enchufe::Desenchufar() {
  // Primero la ruta: quien intente abrirla ya no la encuentra.
  enlazado_.reset();
  pty_.reset();
}

void Enchufe::Enchufar() {
  pty_ = std::make_unique<Pty>(velocidad_);
  if (!enlace_.empty()) enlazado_.emplace(enlace_, pty_->Esclavo());
}

}  // namespace simulador
