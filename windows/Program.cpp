#include "windows/Program.h"

#include <utility>

#include "platform/Translate.h"
#include "windows/Form1.h"
#include "windows/Form2.h"
#include "windows/Form3.h"
#include "windows/Form4.h"

namespace morvane::ui {

Program::Program(Toolkit& toolkit, Seams seams)
    : toolkit_(toolkit), seams_(std::move(seams)), steam_{seams_.reader, seams_.places.steamRoots} {
    // The windows speak Russian, as their layouts do, whatever the system's language: their texts
    // and the reasons they word (windows/Messages.h).
    i18n::useLanguage({"ru"});
}

Program::~Program() = default;

void Program::start() {
    form1_ = std::make_unique<Form1>(*this, toolkit_);
    form1_->show();
}

Form2& Program::form2() {
    if (!form2_)
        form2_ = std::make_unique<Form2>(*this, toolkit_);
    return *form2_;
}

Form3& Program::form3() {
    if (!form3_)
        form3_ = std::make_unique<Form3>(*this, toolkit_, module1_, steam_);
    return *form3_;
}

Form4& Program::form4() {
    if (!form4_)
        form4_ = std::make_unique<Form4>(toolkit_, seams_);
    return *form4_;
}

void Program::discardForm1() {
    discard(form1_);
}
void Program::discardForm2() {
    discard(form2_);
}
void Program::discardForm3() {
    discard(form3_);
}

template <class Form>
void Program::discard(std::unique_ptr<Form>& form) {
    if (!form)
        return;
    form->window().close();
    discarded_.push_back(std::move(form));
    // The caller is usually a handler of this very window: it must return before the window dies.
    toolkit_.post([this] { discarded_.clear(); });
}

}  // namespace morvane::ui
