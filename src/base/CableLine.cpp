#include "base/CableLine.h"

CableLine::CableLine() : cells(CellCount) {}
