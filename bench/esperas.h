#pragma once

// Lo rápido que terminan las esperas del puerto y del diálogo "Comunicando". Las pruebas solo
// comprueban que terminan por la razón correcta; las cifras, que dependen de la carga de la
// máquina, se miden aquí.
struct CifrasEsperas {
  double enBuferMs;     // Esperar con los bytes ya en el búfer
  double llegadaMs;     // Esperar hasta bytes que el indicador escribe a los 50 ms
  double plazoMs;       // Esperar sin bytes con un plazo de 150 ms
  double cpuCaidoS;     // tres esperas de 100 ms en un puerto que desapareció
  double pedidoMaloMs;  // un pedido que no se puede formar, de principio a fin
  double cancelarMs;    // del clic en "Cancelar" al cierre del diálogo
  double desapareceS;   // escritura cuyo indicador se va tras tres peticiones
  double desapareceCpuS;
};

// Necesita una QApplication en marcha.
CifrasEsperas MedirEsperas();
