#pragma once

#include <windows.h>
// Los controles comunes necesitan antes los tipos de windows.h.
#include <commctrl.h>

#include <memory>
#include <string>
#include <type_traits>

#include "disposicion.h"
#include "texto_ancho.h"

// Twips a píxeles según los puntos por pulgada del monitor (1440 twips por pulgada).
int Px(int twips);

struct BorrarLetra {
  void operator()(HFONT letra) const { DeleteObject(letra); }
};
using Letra = std::unique_ptr<std::remove_pointer_t<HFONT>, BorrarLetra>;

Letra NuevaLetra(const char* familia, double puntos, bool negrita);

// Un control hijo de `contenedor`, en `lugar` (twips relativos al contenedor), con su letra.
HWND Control(HWND contenedor, const wchar_t* clase, const std::string& texto, DWORD estilo,
             const carga::Lugar& lugar, HFONT letra, DWORD estiloExtendido = 0);

// Un contenedor con marco y título, como Frame1, Frame2 o fraSerie: sus controles se mueven con
// él, y lo que avisan llega a la ventana que lo contiene.
HWND Marco(HWND contenedor, const std::string& titulo, const carga::Lugar& lugar, HFONT letra);

// Un renglón más al final de una lista desplegable.
void Agregar(HWND lista, const std::string& texto);

// Ancho en píxeles de `texto` con la letra del control.
int AnchoTexto(HWND control, const std::wstring& texto);

// Donde falta la letra original y la que la reemplaza es más ancha, el texto no se corta: el
// control crece hacia la derecha, donde estos textos tienen lugar libre. `agregado`: lo que el
// control dibuja además del texto, en píxeles.
void Ensanchar(HWND control, int agregado);

// Registra una vez la clase de ventana `nombre`, con fondo de diálogo.
void RegistrarClase(const wchar_t* nombre, WNDPROC proc);

// Procedimiento de las ventanas de T: pasa cada mensaje a T::Mensaje del objeto que se dio a
// CreateWindowEx, desde que T tiene su ventana.
template <typename T>
LRESULT CALLBACK Procedimiento(HWND ventana, UINT mensaje, WPARAM w, LPARAM l) {
  if (mensaje == WM_NCCREATE) {
    auto* datos = reinterpret_cast<CREATESTRUCTW*>(l);
    SetWindowLongPtrW(ventana, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(datos->lpCreateParams));
  }
  auto* objeto = reinterpret_cast<T*>(GetWindowLongPtrW(ventana, GWLP_USERDATA));
  if (!objeto || !objeto->Ventana()) return DefWindowProcW(ventana, mensaje, w, l);
  return objeto->Mensaje(mensaje, w, l);
}

// Tamaño exterior de una ventana cuyo interior mide `ancho` × `alto` twips.
SIZE TamanoExterior(int ancho, int alto, DWORD estilo, DWORD estiloExtendido);
