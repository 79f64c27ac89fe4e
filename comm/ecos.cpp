#include "ecos.h"

#include <utility>

#include "traza.h"

namespace comm {

bool Ecos::Tiene(const std::string& dispositivo) const {
  const auto it = eco_.find(dispositivo);
  return it != eco_.end() && it->second;
}

void Ecos::Anotar(const std::string& dispositivo, bool eco) {
  eco_[dispositivo] = eco;
}

EcoDelPuerto::EcoDelPuerto(Ecos* ecos, std::string dispositivo, Traza* traza)
    : ecos_(ecos),
      dispositivo_(std::move(dispositivo)),
      traza_(traza),
      eco_(ecos && ecos->Tiene(dispositivo_)) {}

void EcoDelPuerto::Aprender(bool eco) {
  if (ecos_) ecos_->Anotar(dispositivo_, eco);
  if (eco == eco_) return;
  eco_ = eco;
  if (traza_) {
    traza_->Anotar(eco ? "eco de la línea: cada petición vuelve antes de la respuesta"
                       : "la línea ya no devuelve el eco");
  }
}

}  // namespace comm
