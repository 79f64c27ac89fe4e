#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <string>

#include "peticion.h"

// Una carpeta temporal como directorio actual mientras vive, con el archivo de ajustes dado
// (ninguno si `ajustes` está vacío).
class CarpetaDeTrabajo {
 public:
  explicit CarpetaDeTrabajo(const QByteArray& ajustes = {});
  ~CarpetaDeTrabajo();
  void Ajustes(const QByteArray& ajustes) const;
  QString Ruta(const QString& nombre) const { return dir_.filePath(nombre); }

 private:
  QTemporaryDir dir_;
  QString anterior_;
};

// Com1 a 9600 con el ID 1: lo que elige en pantalla quien usa AjustesHacia.
inline const comm::Seleccion kSeleccionDePrueba{1, 3, 1};

// La petición hacia `seleccion`, con el dispositivo que los ajustes de la carpeta actual dan a su
// puerto, como la arma la ventana.
void Apuntar(comm::Peticion& peticion, const comm::Seleccion& seleccion);

// Ajustes que llevan el puerto 1 al pseudoterminal `pty`, a 1200 · 2^`baudios`, ID 1.
QByteArray AjustesHacia(const QString& pty, int baudios = 3);

// El indicador simulado, en marcha mientras vive el objeto.
class Simulador {
 public:
  explicit Simulador(const QStringList& argumentos = {});
  ~Simulador();
  // Ruta del esclavo del pseudoterminal; vacía si no arrancó.
  const QString& Pty() const { return pty_; }
  // SIGTERM y espera a que acabe (entonces escribe --volcado y --membrete).
  void Terminar();
  qint64 Pid() const { return proceso_.processId(); }

 private:
  QProcess proceso_;
  QString pty_;
};

// El lado del indicador sin simulador: el maestro de un pseudoterminal cuyo esclavo abre el
// programa.
class Maestro {
 public:
  Maestro();
  Maestro(const Maestro&) = delete;
  Maestro& operator=(const Maestro&) = delete;
  ~Maestro() { Cerrar(); }
  QString Esclavo() const;
  bool Escribir(const std::string& datos) const;
  // Lee hasta `n` bytes; se rinde tras 2 s sin que llegue nada.
  std::string Leer(std::size_t n) const;
  // Bytes que el programa envió y nadie leyó todavía.
  std::size_t Pendientes() const;
  void Cerrar();

 private:
  int fd_;
};

// Segundos de procesador que lleva gastados este proceso.
double SegundosDeCpu();
