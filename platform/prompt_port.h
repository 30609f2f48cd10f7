#pragma once

#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

namespace pimoko {

enum class MessageKind { Information, Warning, Error, Question };

// The button sets the program's questions use.
enum class Buttons { Ok, YesNo, YesCancel, OkCancel, YesNoCancel };

enum class Answer { Ok, Yes, No, Cancel };

struct FileDialogRequest {
    QString title;
    QString filter; // "ピモコファイル(*.pmk)|*.pmk" style pairs, or Qt's own form
    QString defaultExt; // without the dot: "pmk"
    QString defaultName; // file name offered first
    QString initialFolder;
};

// A font as the font dialog shows and returns it.
struct FontChoice {
    QString face;
    int height = 16; // pixels
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    quint32 color = 0; // 0x00BBGGRR
    // When not empty, the only faces offered, and the colour is offered with the effects.
    QStringList faces;
};

// Every message box, question and common dialog goes through this port, so engines
// can be run and tested without a screen.
class PromptPort {
public:
    virtual ~PromptPort() = default;

    virtual void ShowMessage(MessageKind kind, const QString& caption, const QString& text) = 0;
    virtual Answer Ask(
        MessageKind kind, const QString& caption, const QString& text, Buttons buttons)
        = 0;
    // The chosen path, or "" when cancelled.
    virtual QString OpenFileName(const FileDialogRequest& request) = 0;
    virtual QString SaveFileName(const FileDialogRequest& request) = 0;
    // A folder (title and initialFolder of the request), or "" when cancelled.
    virtual QString ChooseFolder(const FileDialogRequest& request) = 0;
    // False when cancelled; otherwise the value is replaced by the choice.
    virtual bool ChooseColor(quint32* color) = 0;
    virtual bool ChooseFont(FontChoice* font) = 0;
};

// A port for tests and headless tools: answers come from scripted queues (a default
// answer when a queue runs dry) and every text shown is recorded in order.
class ScriptedPromptPort : public PromptPort {
public:
    struct Shown {
        enum Kind {
            Message,
            Question,
            OpenDialog,
            SaveDialog,
            FolderDialog,
            ColorDialog,
            FontDialog
        } what;
        MessageKind kind;
        QString caption;
        QString text;
        Buttons buttons;
    };

    void ShowMessage(MessageKind kind, const QString& caption, const QString& text) override;
    Answer Ask(
        MessageKind kind, const QString& caption, const QString& text, Buttons buttons) override;
    QString OpenFileName(const FileDialogRequest& request) override;
    QString SaveFileName(const FileDialogRequest& request) override;
    QString ChooseFolder(const FileDialogRequest& request) override;
    bool ChooseColor(quint32* color) override;
    bool ChooseFont(FontChoice* font) override;

    std::deque<Answer> answers;
    Answer defaultAnswer = Answer::Cancel;
    std::deque<QString> fileNames; // "" answers a dialog with Cancel; folders too
    std::deque<quint32> colors;
    std::deque<FontChoice> fonts;

    std::vector<Shown> shown;

    // The texts of every message and question, in order.
    QStringList Texts() const;
    // The text of the last message or question, or "" when none was shown.
    QString LastText() const;
};

} // namespace pimoko
