#pragma once

#include <memory>
#include <vector>

#include "core/Seams.h"
#include "platform/ui/Toolkit.h"
#include "windows/Module1.h"
#include "windows/SteamPlaces.h"

namespace morvane::ui {

class Form1;
class Form2;
class Form3;
class Form4;

// The wizard: owns the four windows and the folder browser. Each window is created the first
// time it is asked for and lives until it is discarded; the windows hand over to each other in
// one direction only, Form1 to Form4, each showing the next before closing itself. The seams are
// the system's: the folder choice looks in `seams.places.steamRoots`, and the options window keeps
// its backups in `seams.places.backupsFolder`, where the driver keeps and finds them. It speaks
// Russian: making it chooses that language for the whole program (platform/Translate.h).
class Program {
  public:
    Program(Toolkit& toolkit, Seams seams);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Creates and shows the start window. Called once.
    void start();

    // The window, created hidden (and with its timers running) when it does not exist.
    Form2& form2();
    Form3& form3();
    Form4& form4();

    // Closes the window at once and destroys it once the current event has been handled, so a
    // window may discard itself from inside one of its own handlers. No-op when it does not exist.
    void discardForm1();
    void discardForm2();
    void discardForm3();

  private:
    template <class Form>
    void discard(std::unique_ptr<Form>& form);

    Toolkit& toolkit_;
    Seams seams_;
    SteamPlaces steam_;
    Module1 module1_;
    std::unique_ptr<Form1> form1_;
    std::unique_ptr<Form2> form2_;
    std::unique_ptr<Form3> form3_;
    std::unique_ptr<Form4> form4_;
    std::vector<std::unique_ptr<EventSink>> discarded_;  // closed, waiting for their handler to end
};

}  // namespace morvane::ui
