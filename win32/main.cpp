#include <windows.h>
// clang-format off
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
// clang-format on

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "ajustes.h"
#include "barra.h"
#include "controles.h"
#include "ecos.h"
#include "frm_Carga.h"
#include "nombre_puerto.h"
#include "ordenes.h"
#include "puerto_serie_win.h"
#include "puertos_win.h"
#include "traza_archivo.h"

using namespace almacen;
using namespace comm;
using namespace carga;
using namespace ordenes;

namespace {

// Los argumentos sin el nombre del programa, en UTF-8.
std::vector<std::string> Argumentos() {
  int cuantos = 0;
  wchar_t** lista = CommandLineToArgvW(GetCommandLineW(), &cuantos);
  std::vector<std::string> argumentos;
  for (int i = 1; i < cuantos; ++i) argumentos.push_back(Utf8(lista[i]));
  LocalFree(lista);
  return argumentos;
}

// Un programa con ventanas no tiene consola: usa la de quien lo inició. Lo que quien lo inició
// ya redirigió a un archivo o a un tubo se queda como está.
void UsarConsola() {
  const bool conConsola = AttachConsole(ATTACH_PARENT_PROCESS) != 0;
  auto sinDestino = [](DWORD cual) {
    const HANDLE destino = GetStdHandle(cual);
    return destino == nullptr || destino == INVALID_HANDLE_VALUE;
  };
  if (conConsola) {
    if (sinDestino(STD_OUTPUT_HANDLE)) std::freopen("CONOUT$", "w", stdout);
    if (sinDestino(STD_ERROR_HANDLE)) std::freopen("CONOUT$", "w", stderr);
    SetConsoleOutputCP(CP_UTF8);
  }
  // Los membretes salen byte a byte: sin cambiar LF por CR LF.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

// La lista de la ventana llega al COM<n> más alto que la PC tiene.
PuertosPc PuertosDeLaPc() {
  PuertosPc pc;
  for (const PuertoDelSistema& puerto : PuertosDelSistema())
    pc.numeros.push_back(NumeroCom(puerto.dispositivo));
  return pc;
}

int SinVentana(const std::vector<std::string>& argumentos, const Ajustes& ajustes) {
  UsarConsola();
  PuertoSerieWin puerto;
  const int codigo = EjecutarOrdenes(argumentos, Consola{std::cout, std::cerr, ErroresEnTerminal(),
                                                         puerto, PuertosDelSistema, ajustes});
  std::cout.flush();
  std::cerr.flush();
  return codigo;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int mostrar) {
  const std::vector<std::string> argumentos = Argumentos();
  const Ajustes ajustes = Ajustes::DeLaCarpetaActual();
  if (!ConVentana(argumentos)) return SinVentana(argumentos, ajustes);

  // Durante una petición la ventana no atiende mensajes, y un indicador callado la tiene así
  // 6 s: sin esto Windows la pintaría "No responde" y un clic ofrecería terminar el programa.
  DisableProcessWindowsGhosting();
  INITCOMMONCONTROLSEX controles{sizeof controles, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controles);

  // Traza para el técnico: con --traza o con [Diagnostico] Traza = 1 en los ajustes.
  const std::unique_ptr<Traza> traza = AbrirTraza(ajustes, PideTraza(argumentos));
  PuertoSerieWin comm1;
  // Lo que se aprende del eco de cada línea vale mientras el programa corre.
  Ecos ecos;
  frm_Carga ventana(comm1, ajustes, ecos, traza.get(), PuertosDeLaPc());
  ventana.Mostrar(mostrar);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (ventana.Tecla(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
