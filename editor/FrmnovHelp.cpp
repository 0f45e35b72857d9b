#include "editor/Frmnov.h"

void Frmnov::MnuHelp_Click()
{
    if (!m_help)
        m_help = new FrmHelp(this);
    m_help->exec();
}
