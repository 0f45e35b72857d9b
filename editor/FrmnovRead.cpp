#include "editor/Frmnov.h"

void Frmnov::MnuRead_Click() {}
