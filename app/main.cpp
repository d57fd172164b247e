// The game's entry point. The command line is ignored.
#include "app/app.h"

int main() { return WinMain(); }
