#pragma once

#include <functional>

class QWidget;

// Arms a poll for the next modal widget and hands it to the action, so a test
// can answer a window that blocks in its own event loop. Fails the wait after
// the deadline instead of hanging; whenModalDone() tells whether it ran.
void whenModal(const std::function<void(QWidget *)> &action, int deadlineMs = 5000);
bool whenModalDone();
