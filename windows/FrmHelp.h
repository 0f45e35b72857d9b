#pragma once

#include <QDialog>

// The help window.
class FrmHelp : public QDialog
{
    Q_OBJECT

public:
    using QDialog::QDialog;
};
