#include "editor/Frmnov.h"

void Frmnov::MnuRead_Click()
{
    if (!m_reading)
        m_reading = new Frmread(*this);
    // The reading window's activation starts the walk.
    m_reading->show();
    m_reading->activateWindow();
    hide();
}
