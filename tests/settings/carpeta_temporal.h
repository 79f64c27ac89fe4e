#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>

#include "ajustes.h"

// Cada prueba corre en una carpeta nueva y vacía como carpeta actual, y después vuelve; ajustes_
// son los de esa carpeta.
class EnCarpetaTemporal : public ::testing::Test {
 protected:
  void SetUp() override {
    anterior_ = std::filesystem::current_path();
    carpeta_ = std::filesystem::temp_directory_path() /
               ("ajustes-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directory(carpeta_);
    std::filesystem::current_path(carpeta_);
    ajustes_ = almacen::Ajustes(carpeta_);
  }

  void TearDown() override {
    std::filesystem::current_path(anterior_);
    std::filesystem::permissions(carpeta_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, error_);
    std::filesystem::remove_all(carpeta_, error_);
  }

  static void Crear(const std::filesystem::path& ruta, const std::string& contenido) {
    std::ofstream(ruta, std::ios::binary) << contenido;
  }

  static std::string Contenido(const std::filesystem::path& ruta) {
    std::ifstream archivo(ruta, std::ios::binary);
    return {std::istreambuf_iterator<char>(archivo), {}};
  }

  // Lo que hay en la carpeta, ordenado: muestra lo que una escritura creó o dejó.
  std::set<std::string> Entradas() const {
    std::set<std::string> nombres;
    for (const auto& entrada : std::filesystem::directory_iterator(carpeta_)) {
      nombres.insert(entrada.path().filename().string());
    }
    return nombres;
  }

  std::filesystem::path anterior_, carpeta_;
  almacen::Ajustes ajustes_{std::filesystem::path()};
  std::error_code error_;
};
