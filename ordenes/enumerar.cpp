#include "enumerar.h"

namespace ordenes {

std::string Enumerar(const std::vector<std::string>& elementos, const std::string& conjuncion) {
  std::string texto;
  for (std::size_t i = 0; i < elementos.size(); ++i) {
    if (i > 0) texto += i + 1 == elementos.size() ? " " + conjuncion + " " : ", ";
    texto += elementos[i];
  }
  return texto;
}

}  // namespace ordenes
