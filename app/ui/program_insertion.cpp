#include "app/ui/program.h"

#include "editor/ui/effects_window.h"
#include "editor/ui/insertion_windows.h"
#include "editor/ui/text_settings_window.h"

namespace pimoko {

// "ページ挿入の確認" and "ページ挿入": the editor's insert buttons open the first, whose
// copy choice opens the second; the second also picks the link and goto pages.
void Program::RegisterInsertionWindows()
{
    registry_.Register(QStringLiteral("TForm9"), [this] {
        auto window = std::make_unique<TForm9>(*session_.Editor(), session_.Busy());
        TForm9* form9 = window.get();
        form9->SetEditorWindow(form2_);
        windows_.push_back(std::move(window));
        return form9;
    });
    registry_.Register(QStringLiteral("TForm12"), [this] {
        auto window = std::make_unique<TForm12>(*session_.Editor(), session_.Busy(), *prompt_,
            &session_.Thumbnails(), session_.StartupFolder());
        TForm12* form12 = window.get();
        form12->SetEditorWindow(form2_);
        if (auto* form9 = qobject_cast<TForm9*>(Window(QStringLiteral("TForm9"))))
            form9->SetInsertionWindow(form12);
        // The text settings and effects windows (made before) pick their pages here.
        if (auto* form1 = qobject_cast<TForm1*>(Window(QStringLiteral("TForm1"))))
            form1->SetLinkPicker(form12);
        if (auto* form10 = qobject_cast<TForm10*>(Window(QStringLiteral("TForm10"))))
            form10->SetGotoPicker(form12);
        windows_.push_back(std::move(window));
        return form12;
    });
}

bool Program::OpenInsertion(bool before)
{
    auto* form9 = qobject_cast<TForm9*>(Window(QStringLiteral("TForm9")));
    if (!form9)
        return false;
    form9->OpenInsertion(before);
    return true;
}

} // namespace pimoko
