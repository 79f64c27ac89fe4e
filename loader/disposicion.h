#pragma once

#include <array>
#include <cstddef>

#include "peticion.h"

namespace carga {

// Posición y tamaño de cada control en twips (1440 por pulgada; 15 por píxel a 96 ppp),
// relativos a su contenedor. Las ventanas de todas las plataformas se arman con esta tabla.
struct Lugar {
  int left;
  int top;
  int width;
  int height;
};

namespace disposicion {

// Ventana principal: área de cliente 5280 × 4740.
inline constexpr int kAnchoVentana = 5280;
inline constexpr int kAltoVentana = 4740;
inline constexpr int kAyudaOculta = 5600;  // Left de Frame2 cuando no se ve

inline constexpr Lugar Frame2{kAyudaOculta, 0, 5295, 4455};
inline constexpr Lugar Text1{180, 240, 4995, 3615};
inline constexpr Lugar Chk_inicio{240, 4020, 1635, 255};
inline constexpr Lugar CmdCerrar{3000, 3960, 1335, 375};
inline constexpr Lugar sbStatusBar{0, 4485, 5280, 255};
inline constexpr Lugar Frame1{0, 0, 5295, 4455};
inline constexpr Lugar Label2{146, 240, 5000, 375};
inline constexpr Lugar fraSerie{240, 720, 3375, 1935};
inline constexpr Lugar Label1{360, 420, 1005, 195};
inline constexpr Lugar LabelId0{1440, 420, 1095, 315};
inline constexpr Lugar HScrollId0{1440, 735, 1095, 200};
inline constexpr Lugar LblPuerto{360, 1080, 510, 195};
inline constexpr Lugar ListaPuerto{1440, 1020, 1500, 315};
inline constexpr Lugar LblBaudios{360, 1500, 615, 195};
inline constexpr Lugar ListaBaudios{1440, 1440, 1500, 315};
inline constexpr Lugar Cmd_Salir{3720, 840, 1335, 375};
inline constexpr Lugar CmdHelp{3720, 2220, 1335, 375};
inline constexpr Lugar Lbl_Fin{900, 2880, 3495, 375};
inline constexpr Lugar CmdConect{240, 3360, 1400, 500};
inline constexpr Lugar CmdBuscar{1920, 3360, 1400, 500};
inline constexpr Lugar CmdSubir{3600, 3360, 1400, 500};
inline constexpr Lugar lblVersion{720, 4080, 3855, 255};

// Los controles de la ventana principal que el tabulador recorre, en su orden, de una ventana
// que los llama como esta tabla. No es el de creación: Frame2 va encima de Frame1 para taparlo.
inline constexpr std::size_t kParadasTabulacion = 11;
template <typename Control, typename Ventana>
std::array<Control, kParadasTabulacion> OrdenTabulacion(const Ventana& v) {
  return {v.CmdConect,  v.CmdSubir, v.CmdBuscar, v.Cmd_Salir, v.ListaPuerto, v.ListaBaudios,
          v.HScrollId0, v.CmdHelp,  v.CmdCerrar, v.Text1,     v.Chk_inicio};
}

// Diálogo "Comunicando": área de cliente 5190 × 1980.
inline constexpr int kAnchoComunicando = 5190;
inline constexpr int kAltoComunicando = 1980;
inline constexpr Lugar ComLabel1{1800, 360, 1695, 255};
inline constexpr Lugar ProgBar{360, 960, 4455, 255};
inline constexpr Lugar CmdCancel{2040, 1440, 1095, 375};

// Letras y sus tamaños en puntos; la letra de la ventana es MS Sans Serif 8,25.
inline constexpr char kLetraVentana[] = "MS Sans Serif";
inline constexpr char kLetraId[] = "Arial";
inline constexpr double kPuntosVentana = 8.25;
inline constexpr double kPuntosAyuda = 9.75;      // Text1, MS Sans Serif
inline constexpr double kPuntosDestacado = 13.5;  // Label2 y Lbl_Fin, negrita azul
inline constexpr double kPuntosId = 9.75;         // LabelId0, Arial negrita

// HScrollId0: el ID va de 0 a kUltimoId; un clic en la guía o Re Pág/Av Pág lo mueve 16.
inline constexpr int kIdMaximo = static_cast<int>(comm::kUltimoId);
inline constexpr int kPasoPaginaId = 16;

}  // namespace disposicion

}  // namespace carga
