#include <windows.h>

// Ventana mínima del programa mientras llegan las ventanas de la carga.
LRESULT CALLBACK Procedimiento(HWND ventana, UINT mensaje, WPARAM w, LPARAM l) {
  if (mensaje == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(ventana, mensaje, w, l);
}

int WINAPI wWinMain(HINSTANCE instancia, HINSTANCE, PWSTR, int mostrar) {
  WNDCLASSW clase{};
  clase.lpfnWndProc = Procedimiento;
  clase.hInstance = instancia;
  clase.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  clase.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  clase.lpszClassName = L"frm_Carga";
  RegisterClassW(&clase);
  HWND ventana = CreateWindowW(L"frm_Carga", L"Brun - Kesta", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                               CW_USEDEFAULT, 360, 240, nullptr, nullptr, instancia, nullptr);
  ShowWindow(ventana, mostrar);
  MSG mensaje;
  while (GetMessageW(&mensaje, nullptr, 0, 0) > 0) {
    TranslateMessage(&mensaje);
    DispatchMessageW(&mensaje);
  }
  return static_cast<int>(mensaje.wParam);
}
