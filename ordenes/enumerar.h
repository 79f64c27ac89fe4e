#pragma once

#include <string>
#include <vector>

namespace ordenes {

// "1200, 2400 y 9600": los elementos separados por comas, con `conjuncion` antes del último.
std::string Enumerar(const std::vector<std::string>& elementos, const std::string& conjuncion);

}  // namespace ordenes
