#pragma once

#include <QRect>
#include <QWidget>
#include <QtGlobal>

#include "disposicion.h"

// Las medidas van en twips (1440 por pulgada); pasarlas por los ppp lógicos conserva las
// proporciones de las ventanas en pantallas de alta densidad.
inline int Twips(int twips, const QWidget* w) {
  return qRound(twips * w->logicalDpiX() / 1440.0);
}

inline QRect TwipsRect(const carga::Lugar& lugar, const QWidget* w) {
  return QRect(Twips(lugar.left, w), Twips(lugar.top, w), Twips(lugar.width, w),
               Twips(lugar.height, w));
}
