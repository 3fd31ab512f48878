// The program's entry on hosts that are not Windows: the resources the
// resource script lists, then WinMain as Windows would call it.
#include <windows.h>

#include "layer/Resources.h"

int main() {
    layer::installResources(programResources, programResourceCount);
    return WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL);
}
