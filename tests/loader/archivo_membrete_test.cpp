#include "archivo_membrete.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

using namespace carga;

namespace fs = std::filesystem;

namespace {

class ArchivoMembrete : public ::testing::Test {
 protected:
  void SetUp() override {
    carpeta_ = fs::temp_directory_path() /
               ("membrete_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(carpeta_);
  }
  void TearDown() override { fs::remove_all(carpeta_); }

  fs::path Escribir(const std::string& nombre, const std::string& bytes) {
    fs::path ruta = carpeta_ / nombre;
    std::ofstream(ruta, std::ios::binary) << bytes;
    return ruta;
  }

  fs::path carpeta_;
};

TEST_F(ArchivoMembrete, ReadsUpToTheLimitByteForByte) {
  std::string bytes(75, 'x');
  bytes[10] = '\0';
  bytes[20] = '\r';
  bytes[21] = '\n';
  bytes[30] = '\xFF';
  LecturaMembrete lectura = Tx(Escribir("75.txt", bytes), 75);
  EXPECT_EQ(lectura.estado, EstadoLectura::Leido);
  EXPECT_EQ(lectura.texto, bytes);

  lectura = Tx(Escribir("76.txt", std::string(76, 'x')), 75);
  EXPECT_EQ(lectura.estado, EstadoLectura::DemasiadoLargo);
  EXPECT_TRUE(lectura.texto.empty());
}

TEST_F(ArchivoMembrete, MissingAndEmptyFilesReadAsEmptyText) {
  LecturaMembrete vacio = Tx(Escribir("vacio.txt", ""), 75);
  EXPECT_EQ(vacio.estado, EstadoLectura::Leido);
  EXPECT_TRUE(vacio.texto.empty());

  LecturaMembrete falta = Tx(carpeta_ / "no_existe.txt", 75);
  EXPECT_EQ(falta.estado, EstadoLectura::Leido);
  EXPECT_TRUE(falta.texto.empty());
}

// Lecturas (llamadas a read) que lleva hechas este proceso, según el núcleo.
long LecturasDelProceso() {
  std::ifstream io("/proc/self/io");
  std::string clave;
  long valor = -1;
  while (io >> clave >> valor) {
    if (clave == "syscr:") return valor;
  }
  return -1;
}

TEST_F(ArchivoMembrete, HugeSparseFileIsRefusedWithoutReadingIt) {
  fs::path ruta = Escribir("enorme.txt", "");
  fs::resize_file(ruta, std::uintmax_t{4} << 30);
  // Lo que cuesta mirar el contador, para descontarlo.
  const long antes = LecturasDelProceso();
  const long mirar = LecturasDelProceso() - antes;
  ASSERT_GE(antes, 0) << "sin /proc/self/io";

  const long inicio = LecturasDelProceso();
  EXPECT_EQ(Tx(ruta, 75).estado, EstadoLectura::DemasiadoLargo);
  EXPECT_EQ(LecturasDelProceso() - inicio, mirar);
}

TEST_F(ArchivoMembrete, WhatIsNotARegularFileIsAnError) {
  EXPECT_EQ(Tx(carpeta_, 75).estado, EstadoLectura::Error);

  fs::path fifo = carpeta_ / "fifo.txt";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(Tx(fifo, 75).estado, EstadoLectura::Error);

  fs::path lazo = carpeta_ / "lazo.txt";
  fs::create_symlink(lazo, lazo);
  EXPECT_EQ(Tx(lazo, 75).estado, EstadoLectura::Error);
}

TEST_F(ArchivoMembrete, FollowsLinksAndTakesAnyName) {
  fs::path ruta = Escribir("Señal_ñandú.txt", "AB");
  fs::create_symlink(ruta, carpeta_ / "enlace.txt");
  EXPECT_EQ(Tx(carpeta_ / "enlace.txt", 75).texto, "AB");
  EXPECT_EQ(Tx(ruta, 75).texto, "AB");
}

}  // namespace
