#include "editor/Frmnov.h"

void Frmnov::MnuSave_Click() {}
void Frmnov::MnuOpen_Click() {}
void Frmnov::Image1_Click(int) {}
bool Frmnov::loadFramePicture(int, const QString &, const QString &) { return false; }
