// The conformance suite's entry: on the layer the program's resources are
// installed first, as the layer's own entry point does; on Windows the
// resource compiler has linked them in.
#include "Check.h"

#ifndef _WIN32
#include "layer/Resources.h"
#endif

int main(int argc, char** argv) {
#ifndef _WIN32
    layer::installResources(programResources, programResourceCount);
#endif
    return conformance::runTests(argc, argv);
}
