#include "widgets/QtDialogs.h"

#include "reading/ReadingWords.h"
#include "widgets/Announcer.h"
#include "widgets/BoxPlace.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPixmapCache>
#include <QPrintDialog>
#include <QPushButton>
#include <QSettings>
#include <QShowEvent>
#include <QTemporaryDir>

namespace {

// A short question makes a narrow box, and window managers then cut the
// title ("Выбор … лжения"); widen the box to its title.
void keepTitleVisible(QMessageBox &box)
{
    auto *grid = qobject_cast<QGridLayout *>(box.layout());
    if (!grid)
        return;
    const int titleWidth = box.fontMetrics().horizontalAdvance(box.windowTitle()) + 160;
    grid->addItem(new QSpacerItem(titleWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
        grid->rowCount(), 0, 1, grid->columnCount());
}

// Qt's file dialog keeps its history, last folder and layout in the user's
// settings (QtProject.conf) and reads them back on the next run. The program
// keeps no settings: the dialogs' settings live in a folder of this run only,
// removed when the program ends.
void keepDialogSettingsInThisRun()
{
    static QTemporaryDir folder;
    static const bool redirected = [] {
        // Without a folder of its own, a folder under the program file, which
        // can never be made, keeps anything from being written.
        const QString path = folder.isValid()
            ? folder.path()
            : QCoreApplication::applicationFilePath() + QStringLiteral("/settings");
        for (QSettings::Format format : { QSettings::NativeFormat, QSettings::IniFormat })
            QSettings::setPath(format, QSettings::UserScope, path);
        return true;
    }();
    Q_UNUSED(redirected);
}

// A screen reader reads a box's text by the name of its label; what it
// should hear first goes before the text, heard as the reading says it.
void speakBefore(QLabel *label, const QString &spokenBefore, const QString &heard)
{
    if (!label || (spokenBefore.isEmpty() && heard.isEmpty()))
        return;
    const QString text = heard.isEmpty() ? label->text() : heard;
    label->setAccessibleName(
        spokenBefore.isEmpty() ? text : spokenBefore + QLatin1Char(' ') + text);
}

// A Qt box of a reading. Its size is known only as it is shown, so it moves
// beside what it keeps in view then, before the window system shows it.
template <typename Box> class ReadingQtBox : public Box {
public:
    using Box::Box;
    QList<QRect> keepInView;

protected:
    void showEvent(QShowEvent *event) override
    {
        Box::showEvent(event);
        if (!event->spontaneous())
            placeBeside(*this, keepInView);
    }
};

// «Повторить», while reading aloud is on: it speaks, and the box stays. The
// button box would close a message box on any of its buttons; this one is
// left out of that.
void addRepeat(QDialogButtonBox *buttons, const std::function<void()> &repeat)
{
    if (!buttons || !repeat)
        return;
    QPushButton *again
        = buttons->addButton(QLatin1Char('&') + ReadingWords::Repeat, QDialogButtonBox::ActionRole);
    again->setObjectName(QStringLiteral("repeat"));
    QObject::disconnect(again, &QAbstractButton::clicked, buttons, nullptr);
    QObject::connect(again, &QAbstractButton::clicked, buttons, repeat);
}

// Qt's Russian texts keep the button "OK" in Latin letters; a screen reader
// hears a Russian word, the eye still sees the button as it was.
void nameOkButton(QAbstractButton *button, const QString &name)
{
    if (button)
        button->setAccessibleName(name);
}

} // namespace

Dialogs::Answer QtDialogs::ask(QWidget *parent, const QString &text, const QString &title,
    const QString &spokenBefore, const ReadingBox &reading)
{
    ReadingQtBox<QMessageBox> box(QMessageBox::Question, title.isEmpty() ? ApplicationTitle : title,
        text, QMessageBox::Yes | QMessageBox::No, parent);
    box.keepInView = reading.keepInView;
    // A pupil's question is shown as written, tags and all.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    // Escape and the close box answer No, the only other answer there is.
    box.setEscapeButton(QMessageBox::No);
    keepTitleVisible(box);
    speakBefore(
        box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label")), spokenBefore, reading.heard);
    addRepeat(box.findChild<QDialogButtonBox *>(), reading.repeat);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

std::optional<QString> QtDialogs::input(QWidget *parent, const QString &prompt,
    const QString &title, const QString &spokenBefore, const ReadingBox &reading)
{
    ReadingQtBox<QInputDialog> box(parent);
    box.keepInView = reading.keepInView;
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(QString());
    box.setInputMode(QInputDialog::TextInput);
    // Asking for a button's text builds the box's buttons, which it
    // otherwise does only when shown.
    box.okButtonText();
    speakBefore(box.findChild<QLabel *>(), spokenBefore, reading.heard);
    if (auto *buttons = box.findChild<QDialogButtonBox *>()) {
        nameOkButton(buttons->button(QDialogButtonBox::Ok), ReadingWords::Done);
        addRepeat(buttons, reading.repeat);
    }
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue();
}

std::optional<QString> QtDialogs::chooseFile(QWidget *parent, const FileDialogSettings &settings)
{
    keepDialogSettingsInThisRun();
    QFileDialog dialog(parent);
    dialog.setAcceptMode(settings.mode == FileDialogSettings::Save ? QFileDialog::AcceptSave
                                                                   : QFileDialog::AcceptOpen);
    dialog.setFileMode(settings.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!settings.folder.isEmpty() && QDir(settings.folder).exists())
        dialog.setDirectory(settings.folder);
    QStringList filters;
    for (const FileDialogSettings::Filter &filter : settings.filters) {
        // Qt reads the patterns from the brackets; keep a name that already
        // shows its pattern as it stands.
        filters << (filter.name.contains(QLatin1Char('('))
                ? filter.name
                : QStringLiteral("%1 (%2)").arg(filter.name, filter.pattern));
    }
    dialog.setNameFilters(filters);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !settings.confirmOverwrite);
    dialog.setDefaultSuffix(settings.defaultSuffix);
    if (!settings.proposedName.isEmpty())
        dialog.selectFile(settings.proposedName);
    if (!settings.spokenName.isEmpty())
        dialog.setAccessibleName(settings.spokenName);
    // The list and the table of files take turns on one unnamed layer, which
    // a screen reader would call only by its kind.
    if (auto *files = dialog.findChild<QWidget *>(QStringLiteral("stackedWidget")))
        files->setAccessibleName(QStringLiteral("Содержимое папки"));
    // A screen reader says nothing when the file type box changes by the
    // arrow keys; the type chosen is told to it.
    if (auto *types = dialog.findChild<QComboBox *>(QStringLiteral("fileTypeCombo"))) {
        auto *announcer = new Announcer(&dialog);
        QObject::connect(
            types, &QComboBox::currentTextChanged, announcer, [announcer](const QString &type) {
                announcer->say(type.section(QLatin1String(" ("), 0, 0));
            });
    }
    const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    // Every file dialog makes its icons anew, and Qt keeps the pixmaps drawn
    // of them in its pixmap cache of up to 10 MiB, where nothing asks for
    // them again: each Open or Save would leave some 40 KiB behind.
    QPixmapCache::clear();
    if (!chosen)
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

bool QtDialogs::choosePrinter(QWidget *parent, QPrinter &printer)
{
    // Its file field has a file dialog of its own.
    keepDialogSettingsInThisRun();
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void QtDialogs::error(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, ApplicationTitle, text, QMessageBox::Ok, parent);
    // File names may hold anything, signs of markup too.
    box.setTextFormat(Qt::PlainText);
    nameOkButton(box.button(QMessageBox::Ok), QStringLiteral("Понятно"));
    box.exec();
}
