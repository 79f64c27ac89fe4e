#pragma once

#include <QFont>

// Fuentes clásicas de Windows. Donde faltan, primero una de medidas parecidas, para que los
// textos entren en los controles, y si no la sans-serif de la plataforma.
QFont Fuente(const char* familia, qreal puntos, bool negrita);

// La letra por omisión de todas las ventanas del programa: MS Sans Serif 8,25.
QFont FuenteVentana();
