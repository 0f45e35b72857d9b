#include "editor/Frmnov.h"

void Frmnov::MnuHelp_Click() {}
