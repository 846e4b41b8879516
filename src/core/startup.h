// The program's entry point and its run-mode decision.
#pragma once

// The main window as start-up drives it. The window lives in a layer above this one, so the
// program hands it in; a start without one ends after the run-mode decision.
class MainWindowStarter {
  public:
    // Creates the one main window and loads it: it restores its layout and captions.
    virtual void CreateAndLoad() = 0;
    // Has the loaded window start a scan by itself shortly after it shows.
    virtual void EnableScheduledRun() = 0;
    // Shows the window without modality; the program then lives as long as it is open.
    virtual void Show() = 0;

  protected:
    ~MainWindowStarter() = default;
};

// Fills the application-wide state, logs the start and decides the run mode, then opens the
// main window. A scheduled start that is not due returns before any window exists.
void Main(MainWindowStarter* mainWindow = nullptr);
