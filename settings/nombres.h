#pragma once

#include <algorithm>
#include <string_view>

// Names compare without regard to ASCII letter case; every other byte must be equal. Deliberately
// not locale-aware: a file name or key must not match differently on another machine.
inline bool IgualesSinMayusculas(std::string_view a, std::string_view b) {
  auto minuscula = [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
           return minuscula(x) == minuscula(y);
         });
}
