#pragma once

#include <string>
#include <utility>
#include <vector>

// The indicator's 90-byte setup block as the 78 values kept under section "Setup":
// two records of 13 bytes (three bytes, three 24-bit numbers least significant byte
// first, one byte) under keys "1" to "14", then 64 single bytes under keys "15" to "78".
// Pairs of key and value, in the order they are stored. Empty unless the block has 90 bytes.
std::vector<std::pair<std::string, long>> ValoresSetup(const std::string& bloque);
