#pragma once

namespace comm {

// Las velocidades de la línea, en baudios, por su posición: 1200 · 2^posición. Los ajustes
// guardan la posición ("Baudios"); la lista de la ventana ofrece las cuatro primeras.
inline constexpr const char* kVelocidades[] = {"1200", "2400", "4800", "9600", "19200"};
inline constexpr long kVelocidadesVentana = 4;

}  // namespace comm
