# Copies ENTRADA to SALIDA as a Windows text file: CRLF line ends and a UTF-8 byte-order mark,
# without which older Notepads take the accents for ANSI.
file(READ ${ENTRADA} texto)
string(REPLACE "\r\n" "\n" texto "${texto}")
string(REPLACE "\n" "\r\n" texto "${texto}")
string(ASCII 239 187 191 marca)
file(WRITE ${SALIDA} "${marca}${texto}")
