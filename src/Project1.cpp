// The program entry: the application object, the main window, the message loop.
#include <windows.h>

#include "mainwindow/Unit1.h"
#include "twain/dtwain.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  TApplication application;
  int exitCode = 0;
  application.RunHandler([&] {
    RegisterTwainClasses();
    application.Initialize();
    try {
      application.CreateForm(Form1);
    } catch (...) {
      exitCode = 1;  // a window that cannot be built ends the program after the message
      throw;
    }
    application.Run();
  });
  return exitCode;
}
