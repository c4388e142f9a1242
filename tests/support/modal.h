#pragma once

// The name the benchmarks include.
#include "support/gui.h"
