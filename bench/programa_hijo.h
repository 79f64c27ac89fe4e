#pragma once

#include <QString>

// El programa de carga dentro de este mismo ejecutable, lanzado como otro proceso para medirlo
// desde su arranque.

// Crea la aplicación y la ventana principal y escribe "VISIBLE" en cuanto la ventana se pinta.
int MostrarVentana(int argc, char** argv);
// Conecta, elige `archivo` y lo sube al indicador del ajuste guardado, con clics en la ventana;
// escribe "EXITO" o "FALLO" y el pico de memoria residente en KiB.
int SubirConVentana(int argc, char** argv, const QString& archivo);
