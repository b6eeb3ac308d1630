// Stand-in for the player's registration program Rediruzu.exe and for the
// add-on installer (one source, built under both names): records the switches
// it was started with (/REG=L1, /REG=U, ...) and ends. It changes nothing.
#include <windows.h>

#include "StandIn.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  SignalInputIdle();
  RecordStart();
  return 0;
}
