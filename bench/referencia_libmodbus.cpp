#include "referencia_libmodbus.h"

#include <modbus.h>

#include <chrono>

double EscribirConLibmodbus(const std::string& dispositivo, long baudios, int id, int primero,
                            int valores) {
  modbus_t* ctx = modbus_new_rtu(dispositivo.c_str(), static_cast<int>(baudios), 'N', 8, 1);
  if (ctx == nullptr) return -1;
  double ms = -1;
  if (modbus_set_slave(ctx, id) == 0 && modbus_connect(ctx) == 0) {
    const auto inicio = std::chrono::steady_clock::now();
    int escritos = 0;
    while (escritos < valores &&
           modbus_write_register(ctx, primero + escritos, 0x4100 + escritos) == 1) {
      ++escritos;
    }
    const std::chrono::duration<double, std::milli> duracion =
        std::chrono::steady_clock::now() - inicio;
    if (escritos == valores) ms = duracion.count();
    modbus_close(ctx);
  }
  modbus_free(ctx);
  return ms;
}
