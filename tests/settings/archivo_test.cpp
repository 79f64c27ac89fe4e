// Reemplazo del archivo entero: temporales huérfanos y, en Linux, enlaces simbólicos.
#include "archivo.h"

#include <gtest/gtest.h>

#include <string>

#include "ajustes.h"
#include "carpeta_temporal.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace almacen;

namespace {

const std::string kArchivo = "Brun_Kqt.ini";

// Un proceso hijo que no hace nada: vivo hasta Terminar(), y después muerto y recogido.
class Proceso {
 public:
#ifdef _WIN32
  Proceso() {
    char programa[MAX_PATH];
    GetModuleFileNameA(nullptr, programa, MAX_PATH);
    STARTUPINFOA inicio{};
    inicio.cb = sizeof inicio;
    // Suspendido: ni siquiera corre las pruebas.
    CreateProcessA(programa, nullptr, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                   &inicio, &info_);
  }
  ~Proceso() {
    Terminar();
  }
  unsigned long Numero() const {
    return info_.dwProcessId;
  }
  void Terminar() {
    if (terminado_ || info_.hProcess == nullptr) return;
    TerminateProcess(info_.hProcess, 0);
    WaitForSingleObject(info_.hProcess, INFINITE);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
    terminado_ = true;
  }

 private:
  PROCESS_INFORMATION info_{};
  bool terminado_ = false;
#else
  Proceso() : pid_(fork()) {
    if (pid_ == 0) {
      pause();
      _exit(0);
    }
  }
  ~Proceso() {
    Terminar();
  }
  unsigned long Numero() const {
    return static_cast<unsigned long>(pid_);
  }
  void Terminar() {
    if (terminado_ || pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    terminado_ = true;
  }

 private:
  pid_t pid_;
  bool terminado_ = false;
#endif
};

using Archivo = EnCarpetaTemporal;

TEST(ProcesoDeTemporal, KnowsOnlyTheNamesWritersUse) {
  EXPECT_EQ(ProcesoDeTemporal(NombreTemporal(kArchivo, 4321), kArchivo), 4321u);
  EXPECT_EQ(ProcesoDeTemporal("BRUN_KQT.INI.8.tmp", kArchivo), 8u);
  const std::string otros[] = {kArchivo,
                               kArchivo + ".tmp",
                               kArchivo + "..tmp",
                               kArchivo + ".0.tmp",
                               kArchivo + ".01.tmp",
                               kArchivo + ".1x.tmp",
                               kArchivo + ".-1.tmp",
                               kArchivo + ".1.tmp~",
                               "Otro.ini.12.tmp",
                               kArchivo + ".1234567890.tmp"};
  for (const std::string& nombre : otros) {
    EXPECT_EQ(ProcesoDeTemporal(nombre, kArchivo), std::nullopt) << nombre;
  }
}

TEST_F(Archivo, AWriteRemovesTheTemporariesOfDeadWritersOnly) {
  Proceso vivo, muerto;
  muerto.Terminar();
  const std::string deMuerto = NombreTemporal(kArchivo, muerto.Numero());
  const std::string deVivo = NombreTemporal(kArchivo, vivo.Numero());
  const std::string ajenos[] = {"Otro.ini." + std::to_string(muerto.Numero()) + ".tmp",
                                kArchivo + ".x.tmp"};
  for (const std::string& nombre : {deMuerto, deVivo, ajenos[0], ajenos[1]}) {
    Crear(nombre, "[Global]\r\nCo");
  }
  EXPECT_TRUE(ajustes_.IntentarEscribirIni("Global", "Comm", 3));
  EXPECT_EQ(Entradas(), (std::set<std::string>{kArchivo, deVivo, ajenos[0], ajenos[1]}));

  // Tampoco en un archivo que ya existe, con otras mayúsculas.
  std::filesystem::remove(kArchivo);
  Crear("BRUN_KQT.INI", "[Global]\r\nComm=3.\r\n");
  Crear(deMuerto, "");
  EXPECT_TRUE(ajustes_.IntentarEscribirIni("Global", "Comm", 4));
  EXPECT_EQ(Entradas(), (std::set<std::string>{"BRUN_KQT.INI", deVivo, ajenos[0], ajenos[1]}));
}

#ifndef _WIN32

TEST_F(Archivo, ASymbolicLinkIsWrittenThrough) {
  std::filesystem::create_directory("real");
  Crear("real/ajustes.ini", "[Global]\r\nComm=3.\r\n");
  chmod("real/ajustes.ini", 0640);
  std::filesystem::create_symlink("real/ajustes.ini", kArchivo);
  Crear("real/ajustes.ini.999999.tmp", "");

  EXPECT_EQ(ajustes_.LeerIni("Global", "Comm", 1), "3");
  EXPECT_TRUE(ajustes_.IntentarEscribirIni("Global", "Comm", 4));
  EXPECT_TRUE(std::filesystem::is_symlink(kArchivo));
  EXPECT_EQ(Contenido("real/ajustes.ini"), "[Global]\r\nComm=4.\r\n");
  struct stat datos {};
  stat("real/ajustes.ini", &datos);
  EXPECT_EQ(datos.st_mode & 07777, 0640u);
  EXPECT_EQ(Entradas(), (std::set<std::string>{kArchivo, "real"}));
  // El temporal se hace junto al destino, y allí se borran los huérfanos.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator("real"), {}), 1);

  // Un enlace a otro enlace con ruta absoluta, también.
  std::filesystem::create_symlink(carpeta_ / "real/ajustes.ini", "segundo");
  std::filesystem::remove(kArchivo);
  std::filesystem::create_symlink("segundo", kArchivo);
  EXPECT_TRUE(ajustes_.IntentarEscribirIni("Global", "Comm", 5));
  EXPECT_TRUE(std::filesystem::is_symlink(kArchivo));
  EXPECT_EQ(Contenido("real/ajustes.ini"), "[Global]\r\nComm=5.\r\n");
}

#endif

}  // namespace
