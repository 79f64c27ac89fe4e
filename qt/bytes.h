#pragma once

#include <QByteArray>
#include <string>

// El texto de bytes pasa entre el núcleo y Qt byte por byte, nunca por QString.
inline QByteArray ABytes(const std::string& texto) {
  return QByteArray(texto.data(), static_cast<qsizetype>(texto.size()));
}

inline std::string ATexto(const QByteArray& bytes) {
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
