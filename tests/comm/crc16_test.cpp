#include "crc16.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>

#include "bytes_prueba.h"

using namespace comm;

namespace {

// CRC-16/MODBUS bit a bit, sin tablas, para contrastar las tablas literales.
std::string CrcBitABit(const std::string& mensaje) {
  std::uint16_t crc = 0xFFFF;
  for (const char c : mensaje) {
    crc ^= static_cast<std::uint8_t>(c);
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
  }
  return Bytes({crc & 0xFF, crc >> 8});
}

std::string Secuencia(int desde, int largo) {
  std::string texto;
  for (int i = 0; i < largo; ++i) texto += static_cast<char>(desde + i);
  return texto;
}

TEST(Crc16, ValoresConocidos) {
  EXPECT_EQ(crc16(""), Bytes({0xFF, 0xFF}));
  EXPECT_EQ(crc16("abc"), Bytes({0x49, 0x57}));
  EXPECT_EQ(crc16(Bytes({0x01, 0x03, 0x00, 0x00, 0x00, 0x01})), Bytes({0x84, 0x0A}));
  EXPECT_EQ(crc16(Bytes({0x00})), Bytes({0xBF, 0x40}));
  EXPECT_EQ(crc16("123456789"), Bytes({0x37, 0x4B}));
  EXPECT_EQ(crc16(Bytes({0xFF})), Bytes({0xFF, 0x00}));
  EXPECT_EQ(crc16(Secuencia(0x00, 31)), Bytes({0xD5, 0xEB}));
}

TEST(Crc16, CoincideConElCalculoBitABitEnCadaEntradaDeLasTablas) {
  for (int c = 0; c < 256; ++c) {
    const std::string mensaje(1, static_cast<char>(c));
    EXPECT_EQ(crc16(mensaje), CrcBitABit(mensaje)) << "byte " << c;
  }
  for (int desde = 0; desde < 256; desde += 31) {
    const std::string mensaje = Secuencia(desde, 31);
    EXPECT_EQ(crc16(mensaje), CrcBitABit(mensaje)) << "desde " << desde;
  }
}

TEST(Crc16, UnCuerpoSeguidoDeSuCrcDaCero) {
  const std::string cuerpo = Bytes({0x01, 0x06, 0x00, 0x1A, 0x42, 0x41});
  EXPECT_EQ(crc16(cuerpo + crc16(cuerpo)), Bytes({0x00, 0x00}));
}

TEST(Crc16, ElLimiteEsDe31Bytes) {
  EXPECT_NO_THROW(crc16(std::string(31, 'x')));
  EXPECT_THROW(crc16(std::string(32, 'x')), std::out_of_range);
}

}  // namespace
