#include "platform/prompt_port.h"

namespace pimoko {

void ScriptedPromptPort::ShowMessage(MessageKind kind, const QString& caption, const QString& text)
{
    shown.push_back({ Shown::Message, kind, caption, text, Buttons::Ok });
}

Answer ScriptedPromptPort::Ask(
    MessageKind kind, const QString& caption, const QString& text, Buttons buttons)
{
    shown.push_back({ Shown::Question, kind, caption, text, buttons });
    if (answers.empty())
        return defaultAnswer;
    Answer a = answers.front();
    answers.pop_front();
    return a;
}

QString ScriptedPromptPort::OpenFileName(const FileDialogRequest& request)
{
    shown.push_back({ Shown::OpenDialog, MessageKind::Information, request.title, request.filter,
        Buttons::OkCancel });
    if (fileNames.empty())
        return QString();
    QString name = fileNames.front();
    fileNames.pop_front();
    return name;
}

QString ScriptedPromptPort::SaveFileName(const FileDialogRequest& request)
{
    shown.push_back({ Shown::SaveDialog, MessageKind::Information, request.title, request.filter,
        Buttons::OkCancel });
    if (fileNames.empty())
        return QString();
    QString name = fileNames.front();
    fileNames.pop_front();
    return name;
}

QString ScriptedPromptPort::ChooseFolder(const FileDialogRequest& request)
{
    shown.push_back({ Shown::FolderDialog, MessageKind::Information, request.title,
        request.initialFolder, Buttons::OkCancel });
    if (fileNames.empty())
        return QString();
    QString name = fileNames.front();
    fileNames.pop_front();
    return name;
}

bool ScriptedPromptPort::ChooseColor(quint32* color)
{
    shown.push_back(
        { Shown::ColorDialog, MessageKind::Information, QString(), QString(), Buttons::OkCancel });
    if (colors.empty())
        return false;
    *color = colors.front();
    colors.pop_front();
    return true;
}

bool ScriptedPromptPort::ChooseFont(FontChoice* font)
{
    shown.push_back(
        { Shown::FontDialog, MessageKind::Information, QString(), QString(), Buttons::OkCancel });
    if (fonts.empty())
        return false;
    *font = fonts.front();
    fonts.pop_front();
    return true;
}

QStringList ScriptedPromptPort::Texts() const
{
    QStringList t;
    for (const Shown& s : shown)
        if (s.what == Shown::Message || s.what == Shown::Question)
            t.append(s.text);
    return t;
}

QString ScriptedPromptPort::LastText() const
{
    const QStringList t = Texts();
    return t.isEmpty() ? QString() : t.back();
}

} // namespace pimoko
