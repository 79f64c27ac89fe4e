#include "opciones_simulador.h"

#include <gtest/gtest.h>

#include "listas_de_ids.h"

namespace {

using simulador::LeerOpciones;
using simulador::Opciones;
using simulador::OpcionInvalida;

Opciones Leer(std::vector<std::string> argumentos) {
  argumentos.insert(argumentos.begin(), "simulador");
  std::vector<char*> argv;
  for (std::string& a : argumentos) argv.push_back(a.data());
  argv.push_back(nullptr);
  return LeerOpciones(static_cast<int>(argumentos.size()), argv.data());
}

TEST(SimuladorListaDeIds, LaMismaReglaQueElPrograma) {
  for (const CasoListaIds& c : kCasosListaIds) {
    if (!c.ids) {
      EXPECT_THROW(Leer({"--id", c.texto}), OpcionInvalida) << c.texto;
      continue;
    }
    const std::vector<uint8_t> ids = Leer({"--id", c.texto}).ids;
    EXPECT_EQ(std::vector<long>(ids.begin(), ids.end()), *c.ids) << c.texto;
  }
}

}  // namespace
