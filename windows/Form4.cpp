#include "windows/Form4.h"

#include <array>
#include <ctime>

#include "engine/Search.h"
#include "windows/Messages.h"
#include "windows/Notices.h"
#include "windows/PictureButtons.h"
#include "windows/layouts/Layouts.h"

namespace morvane::ui {

namespace {

// The boxes of each option group, in the engine's group order.
constexpr std::array<std::string_view, kGroupCount> kOptionBoxes{"Check1", "Check2",  "Check3",
                                                                 "Check9", "Check11", "Check14"};
constexpr std::array<std::string_view, kGroupCount> kStatusBoxes{"Check4", "Check5",  "Check6",
                                                                 "Check8", "Check10", "Check13"};

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 255, 0};

// The result label takes its colour before its caption.
void showVerdict(Window& window, Rgb colour, std::string_view caption) {
    window.setTextColor("Label2", colour);
    window.setText("Label2", i18n::tr(caption));
}

}  // namespace

Form4::Form4(Toolkit& toolkit, Seams& seams)
    : toolkit_(toolkit), seams_(seams), window_(toolkit.createWindow(form4Layout(), *this)) {}

std::span<const EventRoute<Form4>> Form4::routes() {
    static constexpr std::array<EventRoute<Form4>, 13> kRoutes{{
        {"Check1", Event::Click, &Form4::Check1_Click},
        {"Check2", Event::Click, &Form4::Check2_Click},
        {"Check3", Event::Click, &Form4::Check3_Click},
        {"Check9", Event::Click, &Form4::Check9_Click},
        {"Check11", Event::Click, &Form4::Check11_Click},
        {"Check14", Event::Click, &Form4::Check14_Click},
        {"Image2", Event::Click, &Form4::Image2_Click},
        {"Image4", Event::Click, &Form4::Image4_Click},
        {"Form4", Event::MouseMove, &Form4::Form_MouseMove},
        {"Frame1", Event::MouseMove, &Form4::Frame1_MouseMove},
        {"Image1", Event::MouseMove, &Form4::Image1_MouseMove},
        {"Image3", Event::MouseMove, &Form4::Image3_MouseMove},
        {"Form4", Event::Unload, &Form4::Form_Unload},
    }};
    return kRoutes;
}

void Form4::handle(std::string_view control, Event event) {
    dispatch(*this, routes(), control, event);
}

void Form4::clearStatusWhenUnticked(std::string_view optionBox, std::string_view statusBox) {
    optionsChanged_ = true;
    if (window_->value(optionBox) == 0)
        window_->setValue(statusBox, 0);
}

void Form4::Check1_Click() {
    clearStatusWhenUnticked("Check1", "Check4");
}
void Form4::Check2_Click() {
    clearStatusWhenUnticked("Check2", "Check5");
}
void Form4::Check3_Click() {
    clearStatusWhenUnticked("Check3", "Check6");
}
void Form4::Check11_Click() {
    clearStatusWhenUnticked("Check11", "Check10");
}
void Form4::Check14_Click() {
    clearStatusWhenUnticked("Check14", "Check13");
}

// The warning comes every time the box becomes ticked and does not stop it.
void Form4::Check9_Click() {
    if (ticked("Check9")) {
        toolkit_.messageBox(*window_, i18n::tr(kConfigWarning), i18n::tr(kConfigWarningTitle),
                            MessageIcon::Exclamation);
    }
    clearStatusWhenUnticked("Check9", "Check8");
}

// The search.
void Form4::Image2_Click() {
    searchTicked();
}

void Form4::searchTicked() {
    record_.gameFolder = window_->text("Label1");
    for (std::size_t group = 0; group < kGroupCount; ++group) {
        record_.options[group] = ticked(kOptionBoxes[group]);
    }
    const auto found = search(record_, seams_.host);
    for (std::size_t group = 0; group < kGroupCount; ++group) {
        window_->setValue(kStatusBoxes[group], found[group] ? 1 : 0);
    }
    optionsChanged_ = false;
}

// The removal run, driven by the status boxes as the last search left them, searching first when
// the option boxes changed since (or no search was made): the player means what is ticked. Without
// the replacement files it would delete the adverts' files, copy nothing and could still report
// success: then it warns and changes nothing, the result label included.
void Form4::Image4_Click() {
    if (optionsChanged_)
        searchTicked();
    if (const auto missing = missingReplacementFiles(); !missing.empty()) {
        warn(missingReplacementsNotice(missing), kReplacementsMissingTitle);
        return;
    }
    showVerdict(*window_, kWhite, kVerdictUnknown);
    record_.gameFolder = window_->text("Label1");
    record_.blockServerMotd = ticked("Check12");
    record_.readOnly = ticked("Check7");
    for (std::size_t group = 0; group < kGroupCount; ++group) {
        record_.status[group] = ticked(kStatusBoxes[group]);
    }
    // Off the window's thread, so that the window stays painted while the run waits for another on
    // the same folder (as long as the driver waits), backs up and walks the tree; it takes no input
    // meanwhile.
    clean::Result result;
    const std::time_t now = std::time(nullptr);
    toolkit_.runBusy([&] { result = clean::removeSearched(seams_, record_, now); });
    showOutcome(result);
}

// A run that never began changed nothing, and the result label keeps its reset look.
void Form4::showOutcome(const clean::Result& result) {
    switch (result.stop.cause) {
        case Stop::Busy:
            warn(i18n::tr(kFolderBusy), kFolderBusyTitle);
            return;
        case Stop::NoBackupsFolder:
        case Stop::BackupNotMade:
        case Stop::BackupNotWritten:
            warn(backupNotMadeNotice(result.stop), kBackupNotMadeTitle);
            return;
        default:    // none, or what a clean of the window never meets (not a game folder: the
            break;  // folder choice tested the folder)
    }
    if (result.verdict == Verdict::PossiblyRemoved) {
        showVerdict(*window_, kGreen, kVerdictPossiblyRemoved);
    } else {
        showVerdict(*window_, kRed, kVerdictNotRemoved);
    }
    // The verdict rests on the folder's size alone: files that could not be treated are named.
    if (const std::string notTreated = notTreatedNotice(result.files, record_.gameFolder);
        !notTreated.empty())
        warn(notTreated, kFilesNotTreatedTitle);
}

// Those of the replacement files the run would copy, as it will read the boxes, that are not
// readable files: their paths, or their names where the program's folder is unknown.
std::vector<std::string> Form4::missingReplacementFiles() const {
    clean::Request request;
    for (std::size_t group = 0; group < kGroupCount; ++group) {
        request.groups[group] = ticked(kStatusBoxes[group]);
    }
    request.blockServerMotd = ticked("Check12");
    std::vector<std::string> paths;
    for (const clean::MissingReplacement& file : clean::missingReplacements(seams_.host, request))
        paths.push_back(file.path);
    return paths;
}

void Form4::warn(const std::string& text, std::string_view title) {
    toolkit_.messageBox(*window_, text, i18n::tr(title), MessageIcon::Exclamation);
}

void Form4::Form_MouseMove() {
    showNormalFaces(*window_);
}
void Form4::Frame1_MouseMove() {
    showNormalFaces(*window_);
}
void Form4::Image1_MouseMove() {
    showHoverFace(*window_, "Image1", "Image2");
}
void Form4::Image3_MouseMove() {
    showHoverFace(*window_, "Image3", "Image4");
}

void Form4::Form_Unload() {
    toolkit_.quit();
}

}  // namespace morvane::ui
