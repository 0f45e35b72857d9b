#include "editor/Frmnov.h"

void Frmnov::MnuPrint_Click() {}
