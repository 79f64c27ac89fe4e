#pragma once

#include <cstdio>
#include <cstdlib>

// Invariante de un objetivo de fuzzing: si no se cumple, aborta y libFuzzer guarda la entrada.
inline void Exigir(bool cumple, const char* invariante) {
  if (cumple) return;
  std::fprintf(stderr, "invariante rota: %s\n", invariante);
  std::abort();
}
