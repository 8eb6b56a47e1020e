// The whole public utility library.
#pragma once

#include "utillib/foundation/startup.h"
