// A program made of the Win32 binding as an unoptimised (Debug) build compiles
// it, so that its import table shows what such a build of Velmora.exe imports
// on the binding's account. It is read, never run.
#include "platform/Win32Platform.h"

int main(int argc, char**) {
  // Never true: the call only makes the linker take the binding in.
  if (argc > 1000) {
    velmora::platform::Win32UserServices user;
    return user.AskSaveFileName({}) ? 1 : 0;
  }
  return 0;
}
