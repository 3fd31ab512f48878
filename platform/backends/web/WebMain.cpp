// The program's entry on a web page: the resources the resource script
// lists, then WinMain as Windows would call it; the page hears how it ended.
#include <windows.h>

#include "WebPage.h"
#include "layer/Resources.h"

int main() {
    layer::installResources(programResources, programResourceCount);
    int exitCode = WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL);
    layer::WebPage::programEnded(exitCode);
    return exitCode;
}
