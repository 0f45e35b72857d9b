#pragma once

#include <QMainWindow>

// The reading window.
class Frmread : public QMainWindow
{
    Q_OBJECT

public:
    using QMainWindow::QMainWindow;
};
