#include "app/ui/program.h"
#include "editor/ui/distribution_window.h"

namespace pimoko {

void Program::RegisterDistributionWindow()
{
    registry_.Register(QStringLiteral("TForm5"), [this] {
        auto window = std::make_unique<TForm5>(
            session_.Distribution(), session_.Book(), session_.Busy(), *prompt_);
        TForm5* form5 = window.get();
        windows_.push_back(std::move(window));
        return form5;
    });
}

void Program::OpenDistribution()
{
    auto* form5 = qobject_cast<TForm5*>(Window(QStringLiteral("TForm5")));
    if (form5 && form2_)
        form5->OpenOver(form2_->frameGeometry());
}

} // namespace pimoko
