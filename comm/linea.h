#pragma once

#include <string>

#include "puerto.h"

class Traza;

// Line command: sends ":" + comando + CR LF once and returns the 90-byte answer, or empty
// text when no answer of exactly 90 bytes is buffered within 2000 ms. Con `traza`, anota la
// orden, lo recibido y el veredicto.
std::string TRxC(Puerto& comm1, std::string comando, Traza* traza = nullptr);
