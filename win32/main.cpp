#include <windows.h>

#include <filesystem>
#include <string>

#include "frm_Carga.h"
#include "puerto_serie_win.h"

namespace {

std::filesystem::path CarpetaPrograma() {
  std::wstring ruta(32768, L'\0');
  const DWORD largo = GetModuleFileNameW(nullptr, ruta.data(), static_cast<DWORD>(ruta.size()));
  ruta.resize(largo);
  return std::filesystem::path(ruta).parent_path();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int mostrar) {
  INITCOMMONCONTROLSEX controles{sizeof controles, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controles);

  // Los ajustes y la carpeta "ticket" están junto al programa, se lo inicie desde donde se lo
  // inicie (un acceso directo puede dar otra carpeta de trabajo).
  const std::filesystem::path carpeta = CarpetaPrograma();
  SetCurrentDirectoryW(carpeta.c_str());

  PuertoSerieWin comm1;
  frm_Carga ventana(comm1, carpeta);
  ventana.Mostrar(mostrar);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (ventana.Tecla(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
