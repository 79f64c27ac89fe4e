#pragma once

#include <map>
#include <string>

namespace comm {

class Traza;

// Lo aprendido en esta ejecución sobre qué líneas devuelven lo que se envía (adaptadores RS-485
// de dos hilos), por dispositivo. El diálogo abre y cierra el puerto en cada petición: esto
// dura lo que el programa, y lo tiene cada main.
class Ecos {
 public:
  bool Tiene(const std::string& dispositivo) const;
  void Anotar(const std::string& dispositivo, bool eco);

 private:
  std::map<std::string, bool> eco_;
};

// El eco del puerto de un trabajo: lo sabido de él y dónde guardar lo que se aprenda. Sin
// `ecos`, lo aprendido vale solo para este trabajo.
class EcoDelPuerto {
 public:
  EcoDelPuerto() = default;
  EcoDelPuerto(Ecos* ecos, std::string dispositivo, Traza* traza);

  bool Sabido() const { return eco_; }
  // Lo que mostró un intercambio que no deja dudas; la traza dice cuando cambia.
  void Aprender(bool eco);

 private:
  Ecos* ecos_ = nullptr;
  std::string dispositivo_;
  Traza* traza_ = nullptr;
  bool eco_ = false;
};

}  // namespace comm
