#include "app/ui/program.h"

#include "editor/ui/book_options_window.h"
#include "editor/ui/clip_window.h"
#include "editor/ui/effects_window.h"

namespace pimoko {

// The editor's clip, effects and book options windows, each the port it serves.
void Program::RegisterPageWindows()
{
    registry_.Register(QStringLiteral("TForm7"), [this] {
        auto window = std::make_unique<TForm7>(*session_.Editor());
        TForm7* form7 = window.get();
        windows_.push_back(std::move(window));
        editorPorts_.clipSettings = form7;
        ConnectEditorPorts();
        return form7;
    });
    registry_.Register(QStringLiteral("TForm10"), [this] {
        auto window = std::make_unique<TForm10>(*session_.Editor(), *prompt_, session_.Busy());
        TForm10* form10 = window.get();
        form10->SetEditorWindow(form2_);
        // Its goto page is picked in the page insertion window, which is made after it.
        windows_.push_back(std::move(window));
        editorPorts_.effects = form10;
        ConnectEditorPorts();
        return form10;
    });
    registry_.Register(QStringLiteral("TForm11"), [this] {
        auto window = std::make_unique<TForm11>(*session_.Editor());
        TForm11* form11 = window.get();
        form11->SetEditorWindow(form2_);
        windows_.push_back(std::move(window));
        editorPorts_.bookOptions = form11;
        ConnectEditorPorts();
        return form11;
    });
}

} // namespace pimoko
