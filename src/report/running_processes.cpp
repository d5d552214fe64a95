// Running processes: the executable name of every process in a snapshot.
#include "mainwindow/Unit1.h"

void TForm1::Button2Click(TObject*) {}
