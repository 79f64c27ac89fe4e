#!/bin/sh
# Inicia el programa desde su propia carpeta: guarda sus ajustes en la carpeta desde la que corre
# y abre el diálogo de archivos en la carpeta "ticket" de allí.
carpeta=$(dirname "$(readlink -f "$0")")
cd "$carpeta" || exit 1
exec ./cargador_membrete "$@"
