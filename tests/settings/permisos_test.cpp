#include <gtest/gtest.h>

#include <string>

#include "ajustes.h"
#include "archivo.h"
#include "carpeta_temporal.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace almacen;

namespace {

const std::string kArchivo = "Brun_Kqt.ini";
const std::string kAntes = "[Global]\r\nComm=3.\r\n";

using Permisos = EnCarpetaTemporal;

TEST_F(Permisos, AFailedReplaceLeavesNoTemporaryFile) {
  std::filesystem::create_directory(kArchivo);
  GuardarArchivo(kArchivo, kAntes);
  EXPECT_TRUE(std::filesystem::is_directory(kArchivo));
  EXPECT_EQ(Entradas(), std::set<std::string>{kArchivo});
}

#ifdef _WIN32

TEST_F(Permisos, AHiddenOrSystemFileIsNotReadButStillWritten) {
  for (DWORD atributo : {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM}) {
    Crear(kArchivo, kAntes);
    ASSERT_TRUE(SetFileAttributesA(kArchivo.c_str(), atributo));
    EXPECT_EQ(ajustes_.LeerIni("Global", "Comm", 1), "1");
    ajustes_.EscribirIni("Global", "Comm", 4);
    EXPECT_EQ(Contenido(kArchivo), "[Global]\r\nComm=4.\r\n");
    EXPECT_EQ(GetFileAttributesA(kArchivo.c_str()) & atributo, atributo);
    EXPECT_EQ(Entradas(), std::set<std::string>{kArchivo});
    SetFileAttributesA(kArchivo.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

TEST_F(Permisos, AReadOnlyFileLosesTheWrite) {
  Crear(kArchivo, kAntes);
  ASSERT_TRUE(SetFileAttributesA(kArchivo.c_str(), FILE_ATTRIBUTE_READONLY));
  ajustes_.EscribirIni("Global", "Comm", 4);
  EXPECT_EQ(ajustes_.LeerIni("Global", "Comm", 1), "3");
  EXPECT_EQ(Entradas(), std::set<std::string>{kArchivo});
  SetFileAttributesA(kArchivo.c_str(), FILE_ATTRIBUTE_NORMAL);
}

#else

mode_t Modo(const std::string& ruta) {
  struct stat datos {};
  stat(ruta.c_str(), &datos);
  return datos.st_mode & 07777;
}

// Corre `accion` como usuario sin privilegios si somos root, a quien ningún permiso frena;
// false si no se puede tener ese usuario.
template <typename Accion>
bool SinPrivilegios(Accion accion) {
  if (geteuid() != 0) {
    accion();
    return true;
  }
  pid_t hijo = fork();
  if (hijo == 0) {
    if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0) _exit(2);
    accion();
    _exit(0);
  }
  int estado = 0;
  return hijo > 0 && waitpid(hijo, &estado, 0) == hijo && WIFEXITED(estado) &&
         WEXITSTATUS(estado) == 0;
}

TEST_F(Permisos, AWriteKeepsTheFileMode) {
  mode_t anterior = umask(022);
  ajustes_.EscribirIni("Global", "Comm", 3);
  umask(anterior);
  EXPECT_EQ(Modo(kArchivo), 0644u);
  chmod(kArchivo.c_str(), 0640);
  ajustes_.EscribirIni("Global", "Comm", 4);
  EXPECT_EQ(Modo(kArchivo), 0640u);
  EXPECT_EQ(ajustes_.LeerIni("Global", "Comm", 1), "4");
}

TEST_F(Permisos, AReadOnlyFileOrFolderLosesTheWrite) {
  Crear(kArchivo, kAntes);
  chmod(kArchivo.c_str(), 0444);
  chmod(carpeta_.c_str(), 0777);
  if (!SinPrivilegios([this] { ajustes_.EscribirIni("Global", "Comm", 4); }))
    GTEST_SKIP() << "sin usuario";
  EXPECT_EQ(Contenido(kArchivo), kAntes);
  EXPECT_EQ(Entradas(), std::set<std::string>{kArchivo});

  chmod(kArchivo.c_str(), 0666);
  chmod(carpeta_.c_str(), 0555);
  ASSERT_TRUE(SinPrivilegios([this] { ajustes_.EscribirIni("Global", "Comm", 5); }));
  EXPECT_EQ(Contenido(kArchivo), kAntes);
  EXPECT_EQ(Entradas(), std::set<std::string>{kArchivo});
  EXPECT_EQ(ajustes_.LeerIni("Global", "Comm", 1), "3");
}

TEST_F(Permisos, AVanishedSettingsFolderLosesTheWrite) {
  std::filesystem::create_directory("borrada");
  const Ajustes borrada(carpeta_ / "borrada");
  borrada.EscribirIni("Global", "Comm", 4);
  std::filesystem::remove_all(carpeta_ / "borrada");
  borrada.EscribirIni("Global", "Comm", 5);
  EXPECT_EQ(borrada.LeerIni("Global", "Comm", 1), "1");
  EXPECT_FALSE(std::filesystem::exists(carpeta_ / "borrada"));
}

#endif

}  // namespace
