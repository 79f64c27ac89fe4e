#include "ajustes_linea.h"

#include <cctype>
#include <cstdint>
#include <sstream>
#include <vector>

#include "numero.h"

using namespace almacen;

namespace comm {

namespace {

std::vector<std::string> Partes(const std::string& texto) {
  std::vector<std::string> partes;
  std::istringstream entrada(texto);
  std::string parte;
  while (std::getline(entrada, parte, ',')) partes.push_back(parte);
  // getline no devuelve la parte vacía que deja una coma final.
  if (!texto.empty() && texto.back() == ',') partes.emplace_back();
  return partes;
}

std::optional<long> EnRango(const std::string& texto, long minimo, long maximo) {
  const std::optional<long> valor = EnteroDe(texto);
  if (!valor || *valor < minimo || *valor > maximo) return std::nullopt;
  return valor;
}

std::optional<char> Paridad(const std::string& texto) {
  if (texto.size() != 1) return std::nullopt;
  const char letra = static_cast<char>(std::tolower(static_cast<unsigned char>(texto[0])));
  if (std::string("neoms").find(letra) == std::string::npos) return std::nullopt;
  return letra;
}

}  // namespace

std::optional<AjustesLinea> LeerAjustesLinea(const std::string& texto) {
  const std::vector<std::string> partes = Partes(texto);
  if (partes.size() != 4) return std::nullopt;
  const auto baudios = EnRango(partes[0], 1, INT32_MAX);
  const auto paridad = Paridad(partes[1]);
  const auto datos = EnRango(partes[2], 5, 8);
  const auto parada = EnRango(partes[3], 1, 2);
  if (!baudios || !paridad || !datos || !parada) return std::nullopt;
  return AjustesLinea{*baudios, *paridad, static_cast<int>(*datos), static_cast<int>(*parada)};
}

}  // namespace comm
