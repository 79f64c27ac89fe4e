#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

// Bytes de un texto hexadecimal con espacios, p. ej. "01 03 00 1A".
std::string Hex(const std::string& texto);

// El simulador como proceso hijo, con el esclavo que anunció en su línea "PTY".
class SimuladorEnMarcha {
 public:
  // Lanza std::runtime_error si no arranca o no anuncia su esclavo.
  explicit SimuladorEnMarcha(const std::vector<std::string>& opciones);
  ~SimuladorEnMarcha();
  SimuladorEnMarcha(const SimuladorEnMarcha&) = delete;
  SimuladorEnMarcha& operator=(const SimuladorEnMarcha&) = delete;

  const std::string& Esclavo() const { return esclavo_; }
  void Senal(int senal) const;
  // Espera hasta 5 s a que termine: su código de salida, o -1.
  int Esperar();

 private:
  pid_t pid_ = -1;
  std::string esclavo_;
};

// Ejecuta el simulador hasta que termine: código de salida y salida estándar.
struct Ejecucion {
  int codigo;
  std::string salida;
};
Ejecucion Ejecutar(const std::vector<std::string>& opciones);

// El esclavo abierto en crudo, como lo abre el programa.
class Puerto {
 public:
  // Con `exclusivo`, pone TIOCEXCL como hace el control del puerto. Lanza std::system_error.
  explicit Puerto(const std::string& ruta, bool exclusivo = false);
  ~Puerto();
  Puerto(const Puerto&) = delete;
  Puerto& operator=(const Puerto&) = delete;

  void Enviar(const std::string& bytes) const;
  // Pone la velocidad de la línea, como el programa: en baudios, p. ej. 2400.
  void Velocidad(long baudios) const;
  // Lo recibido hasta reunir `cuantos` bytes o hasta cumplir el plazo.
  std::string Recibir(size_t cuantos,
                      std::chrono::milliseconds plazo = std::chrono::milliseconds(2000)) const;
  // Como Recibir, pero byte a byte, con la hora a la que se leyó cada uno.
  struct Llegada {
    char byte;
    std::chrono::steady_clock::time_point hora;
  };
  std::vector<Llegada> RecibirConHoras(
      size_t cuantos, std::chrono::milliseconds plazo = std::chrono::milliseconds(2000)) const;
  // Si el maestro cerró: la lectura da fin o error en vez de esperar.
  bool Colgado(std::chrono::milliseconds plazo) const;

 private:
  int fd_;
};

// Callar es no contestar ni un byte en 100 ms.
constexpr std::chrono::milliseconds kCallado{100};

// Abre el esclavo, envía la petición y recoge hasta `cuantos` bytes.
std::string Pedir(const std::string& esclavo, const std::string& peticion, size_t cuantos);

std::string LeerArchivo(const std::string& ruta);

// Una ruta propia de este proceso en la carpeta temporal de las pruebas.
std::string RutaTemporal(const std::string& nombre);
