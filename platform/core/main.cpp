// The program's entry on hosts that are not Windows: the resources the
// resource script lists, then WinMain as Windows would call it.
#include <windows.h>

#include "layer/ProgramEntry.h"
#include "layer/Resources.h"

int main() {
    layer::installResources(programResources, programResourceCount);
    return layer::runProgram(SW_SHOWNORMAL);
}
