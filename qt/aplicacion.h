#pragma once

#include <QString>

// Lo que el programa prepara antes de abrir su ventana: el nombre de la aplicación (título de
// sus cajas) y los textos propios de Qt en castellano.
void PrepararAplicacion();

// Instala la traducción al castellano de los textos propios de Qt (diálogo de archivos, cajas
// de mensaje, menús de los controles). Busca el catálogo junto al programa y, si no está, en la
// carpeta de traducciones de Qt. Devuelve la ruta del catálogo cargado, vacía si no hubo.
QString TraducirQt(const QString& carpetaPrograma);
