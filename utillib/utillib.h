// The whole public utility library.
#pragma once

#include "utillib/foundation/network_drives.h"
#include "utillib/foundation/path_names.h"
#include "utillib/foundation/startup.h"
