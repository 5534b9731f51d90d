#include "loads/Load.h"

Load::Load() : cells(CellCount) {}
