#pragma once

#include <optional>
#include <string>

namespace almacen {

// Cómo guardó el técnico el archivo de ajustes, por su marca inicial: "Unicode" del Bloc de
// notas (UTF-16, LE o BE), UTF-8 con marca, o bytes de 8 bits sin marca.
enum class Codificacion { Bytes, Utf8, Utf16Le, Utf16Be };

// El texto que lee y edita el INI: los bytes mismos del archivo (Bytes, Utf8) o su paso a UTF-8,
// marca incluida (UTF-16). El paso es exacto, también con sustitutos sueltos, para que al volver
// a UTF-16 no se pierda nada que el programa no cambió.
struct TextoIni {
  Codificacion codificacion;
  std::string texto;
};

// Nada si el archivo es UTF-16 de largo impar: no se sabe leerlo y no se debe reemplazar.
std::optional<TextoIni> Decodificar(const std::string& archivo);
std::string Codificar(const TextoIni& texto);

// Los valores y nombres del programa son bytes de 8 bits en la página de códigos de Windows en
// español (1252; sus cinco huecos pasan como los controles U+0081, U+008D, U+008F, U+0090 y
// U+009D). En un archivo con marca se guardan como esos caracteres; al leer, un carácter que no
// tiene byte, o UTF-8 roto, da "?", como en Windows.
std::string TextoDeBytes(Codificacion codificacion, const std::string& bytes);
std::string BytesDeTexto(Codificacion codificacion, const std::string& texto);

}  // namespace almacen
