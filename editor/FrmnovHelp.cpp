#include "editor/Frmnov.h"

void Frmnov::MnuHelp_Click()
{
    if (!m_help)
        m_help = new FrmHelp(this);
    m_help->exec();
    // Coming back from help is an activation, and that redraws.
    activateWindow();
}
