// The GUI program's text output: cmd gives a GUI program no standard handles,
// so --help, --version and the warnings would vanish.
#pragma once

namespace winplat {

// Sends stdout and stderr that lead nowhere to the console the program was
// started from; handles already redirected (a file, a pipe) stay as they are.
void UseParentConsole();

}  // namespace winplat
