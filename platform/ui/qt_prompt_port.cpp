#include "platform/ui/qt_prompt_port.h"

#include "platform/ui/font_choice_dialog.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>

namespace pimoko {
namespace {

QMessageBox::Icon IconOf(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Information:
        return QMessageBox::Information;
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QFileDialog::Options DialogOptions()
{
    return QFileDialog::Options();
}

} // namespace

QString ToQtNameFilter(const QString& filter)
{
    if (!filter.contains(QLatin1Char('|')))
        return filter;
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out.append(QStringLiteral("%1 (%2)").arg(parts[i], patterns));
    }
    return out.join(QStringLiteral(";;"));
}

QWidget* QtPromptPort::Parent() const
{
    if (parent_)
        return parent_;
    // Not a splash screen or a menu: those go away while a dialog is still up.
    QWidget* active = QApplication::activeWindow();
    const Qt::WindowType type = active ? active->windowType() : Qt::Widget;
    return type == Qt::Window || type == Qt::Dialog || type == Qt::Tool ? active : nullptr;
}

void QtPromptPort::ShowMessage(MessageKind kind, const QString& caption, const QString& text)
{
    QMessageBox box(IconOf(kind), caption, text, QMessageBox::Ok, Parent());
    box.exec();
}

Answer QtPromptPort::Ask(
    MessageKind kind, const QString& caption, const QString& text, Buttons buttons)
{
    QMessageBox::StandardButtons set;
    switch (buttons) {
    case Buttons::Ok:
        set = QMessageBox::Ok;
        break;
    case Buttons::YesNo:
        set = QMessageBox::Yes | QMessageBox::No;
        break;
    case Buttons::YesCancel:
        set = QMessageBox::Yes | QMessageBox::Cancel;
        break;
    case Buttons::OkCancel:
        set = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case Buttons::YesNoCancel:
        set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    }
    QMessageBox box(IconOf(kind), caption, text, set, Parent());
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

QString QtPromptPort::OpenFileName(const FileDialogRequest& r)
{
    QFileDialog dialog(Parent(), r.title, r.initialFolder, ToQtNameFilter(r.filter));
    dialog.setOptions(DialogOptions());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!r.defaultExt.isEmpty())
        dialog.setDefaultSuffix(r.defaultExt);
    if (!r.defaultName.isEmpty())
        dialog.selectFile(r.defaultName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

QString QtPromptPort::SaveFileName(const FileDialogRequest& r)
{
    QFileDialog dialog(Parent(), r.title, r.initialFolder, ToQtNameFilter(r.filter));
    // The caller asks about overwriting in its own words; the dialog does not ask again.
    dialog.setOptions(DialogOptions() | QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (!r.defaultExt.isEmpty())
        dialog.setDefaultSuffix(r.defaultExt);
    if (!r.defaultName.isEmpty())
        dialog.selectFile(r.defaultName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

QString QtPromptPort::ChooseFolder(const FileDialogRequest& r)
{
    QFileDialog dialog(Parent(), r.title, r.initialFolder);
    dialog.setOptions(DialogOptions() | QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

bool QtPromptPort::ChooseColor(quint32* color)
{
    const QColor initial(*color & 0xFF, (*color >> 8) & 0xFF, (*color >> 16) & 0xFF);
    const QColor c = QColorDialog::getColor(initial, Parent());
    if (!c.isValid())
        return false;
    *color = static_cast<quint32>(c.red()) | static_cast<quint32>(c.green()) << 8
        | static_cast<quint32>(c.blue()) << 16;
    return true;
}

bool QtPromptPort::ChooseFont(FontChoice* font)
{
    if (!font->faces.isEmpty())
        return RunFontChoiceDialog(font, Parent());
    QFont initial(font->face);
    initial.setPixelSize(qMax(1, font->height));
    initial.setBold(font->bold);
    initial.setItalic(font->italic);
    initial.setUnderline(font->underline);
    initial.setStrikeOut(font->strikeOut);
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, initial, Parent());
    if (!ok)
        return false;
    font->face = f.family();
    font->height = f.pixelSize() > 0 ? f.pixelSize() : qRound(f.pointSizeF() * 96.0 / 72.0);
    font->bold = f.bold();
    font->italic = f.italic();
    font->underline = f.underline();
    font->strikeOut = f.strikeOut();
    return true;
}

} // namespace pimoko
