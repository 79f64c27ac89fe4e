# Copia ENTRADA en SALIDA como texto de Windows: líneas terminadas en CRLF y la marca de orden de
# bytes de UTF-8, sin la cual los Bloc de notas viejos toman los acentos por ANSI.
file(READ ${ENTRADA} texto)
string(REPLACE "\r\n" "\n" texto "${texto}")
string(REPLACE "\n" "\r\n" texto "${texto}")
string(ASCII 239 187 191 marca)
file(WRITE ${SALIDA} "${marca}${texto}")
