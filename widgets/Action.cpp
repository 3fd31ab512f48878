#include "Action.h"

void noAction() {}
