#pragma once

#include <optional>
#include <string>
#include <vector>

// Las listas que aceptan la --id del programa y la del simulador. El simulador no depende del
// programa: cada uno escribe la regla y las dos lecturas se prueban con esta tabla.
struct CasoListaIds {
  std::string texto;
  std::optional<std::vector<long>> ids;  // nada: la lista se rechaza
};

inline std::vector<long> DelCeroAl255() {
  std::vector<long> ids;
  for (long id = 0; id <= 255; ++id) ids.push_back(id);
  return ids;
}

inline const std::vector<CasoListaIds> kCasosListaIds = {
    {"1,3,5-8", std::vector<long>{1, 3, 5, 6, 7, 8}},
    // Un ID repetido nombra al mismo indicador: vale una vez, donde apareció primero.
    {"3,1-3,0", std::vector<long>{3, 1, 2, 0}},
    {"2,2", std::vector<long>{2}},
    {"007", std::vector<long>{7}},
    {"0-255", DelCeroAl255()},
    {"256", std::nullopt},
    {"1,300-301", std::nullopt},
    {"99999999999999999999", std::nullopt},
    {"", std::nullopt},
    {"-1", std::nullopt},
    {"+1", std::nullopt},
    {" 1", std::nullopt},
    {"1,,3", std::nullopt},
    {"1,", std::nullopt},
    {"5-", std::nullopt},
    {"1-2-3", std::nullopt},
    {"8-5", std::nullopt},
};
