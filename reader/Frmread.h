#pragma once

#include <QMainWindow>

class Frmnov;
class FrmreadPicture;
class QPagedPaintDevice;
class QTextEdit;

// The reading window: each time the editor's Read command shows it, the
// reader walks one path of the story, answering its two questions, and then
// names the story and signs it. The result can be printed as it is shown.
class Frmread : public QMainWindow
{
    Q_OBJECT

public:
    explicit Frmread(Frmnov &editor);

    QTextEdit *Text1() const { return m_text1; }
    QTextEdit *Text2() const { return m_text2; }
    QTextEdit *Textr() const { return m_textr; }
    FrmreadPicture *Imagei() const { return m_imagei; }
    // The client area under the menu bar: what printing puts on the page.
    QWidget *content() const { return m_content; }

    // What the user can do to the window.
    void activated();
    void MnuPrint_Click();
    void MnuExit_Click();

    // The reading walk: questions and input boxes, one after another.
    void walk();

    // Paints the client area on one page of the device, at its size on the
    // screen; false when the device cannot be painted on.
    bool printContent(QPagedPaintDevice *device) const;

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createMenus();
    void createControls();
    void showEditor();

    Frmnov &m_editor;
    QWidget *m_content = nullptr;
    QTextEdit *m_text1 = nullptr;
    QTextEdit *m_text2 = nullptr;
    QTextEdit *m_textr = nullptr;
    FrmreadPicture *m_imagei = nullptr;
    // Set when the window is shown, consumed by the activation that follows:
    // activations after a modal box closes must not start another walk.
    bool m_walkPending = false;
};
