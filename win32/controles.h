#pragma once

#include <windows.h>
// Los controles comunes necesitan antes los tipos de windows.h.
#include <commctrl.h>

#include <memory>
#include <string>
#include <type_traits>

#include "disposicion.h"

// Los textos se guardan una vez en UTF-8; Windows los quiere en UTF-16.
std::wstring Ancho(const std::string& utf8);
// Y al revés: lo que da Windows (argumentos, registro) pasa al núcleo en UTF-8.
std::string Utf8(const std::wstring& texto);

// Twips a píxeles según los puntos por pulgada del monitor (1440 twips por pulgada).
int Px(int twips);

struct BorrarLetra {
  void operator()(HFONT letra) const { DeleteObject(letra); }
};
using Letra = std::unique_ptr<std::remove_pointer_t<HFONT>, BorrarLetra>;

Letra NuevaLetra(const char* familia, double puntos, bool negrita);

// Un control hijo de `contenedor`, en `lugar` (twips relativos al contenedor), con su letra.
HWND Control(HWND contenedor, const wchar_t* clase, const std::string& texto, DWORD estilo,
             const Lugar& lugar, HFONT letra, DWORD estiloExtendido = 0);

// Un contenedor con marco y título, como Frame1, Frame2 o fraSerie: sus controles se mueven con
// él, y lo que avisan llega a la ventana que lo contiene.
HWND Marco(HWND contenedor, const std::string& titulo, const Lugar& lugar, HFONT letra);

// Ancho en píxeles de `texto` con la letra del control.
int AnchoTexto(HWND control, const std::wstring& texto);

// Donde falta la letra original y la que la reemplaza es más ancha, el texto no se corta: el
// control crece hacia la derecha, donde estos textos tienen lugar libre. `agregado`: lo que el
// control dibuja además del texto, en píxeles.
void Ensanchar(HWND control, int agregado);

// Tamaño exterior de una ventana cuyo interior mide `ancho` × `alto` twips.
SIZE TamanoExterior(int ancho, int alto, DWORD estilo, DWORD estiloExtendido);
