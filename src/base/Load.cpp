#include "base/Load.h"

Load::Load() : cells(CellCount) {}
