// The four changes Apply hands the work to. Each reads the window's hand-over tags and form
// variables (FrmChange.h) and reports its own failures.
#include "changing/FrmChange.h"

