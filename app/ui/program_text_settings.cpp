#include "app/ui/program.h"

#include "editor/ui/text_settings_window.h"

namespace pimoko {

// "テキスト詳細設定", the editor's text settings port.
void Program::RegisterTextSettingsWindow()
{
    registry_.Register(QStringLiteral("TForm1"), [this] {
        auto window = std::make_unique<TForm1>(
            *session_.Editor(), session_.Busy(), *prompt_, *session_.Fonts());
        TForm1* form1 = window.get();
        windows_.push_back(std::move(window));
        editorPorts_.textSettings = form1;
        ConnectEditorPorts();
        return form1;
    });
}

} // namespace pimoko
