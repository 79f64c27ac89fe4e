#include "fuente.h"

#include <QStringList>

#include "disposicion.h"

using namespace comm;
using namespace carga;

QFont Fuente(const char* familia, qreal puntos, bool negrita) {
  QFont fuente;
  fuente.setFamilies({QString::fromLatin1(familia), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                      QStringLiteral("Nimbus Sans")});
  fuente.setStyleHint(QFont::SansSerif);
  fuente.setPointSizeF(puntos);
  fuente.setBold(negrita);
  return fuente;
}

QFont FuenteVentana() {
  return Fuente(disposicion::kLetraVentana, disposicion::kPuntosVentana, false);
}
