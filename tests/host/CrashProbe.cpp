// A program that crashes at once: what a crash under the project's Wine prefix prints,
// and that it ends instead of waiting on a debugger.
#include <windows.h>

int main() {
  volatile int* nowhere = reinterpret_cast<volatile int*>(static_cast<ULONG_PTR>(GetTickCount() & 0));
  *nowhere = 1;
  return 0;
}
