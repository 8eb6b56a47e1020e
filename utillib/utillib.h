// The whole public utility library.
#pragma once

#include "utillib/foundation/network_drives.h"
#include "utillib/foundation/path_names.h"
#include "utillib/foundation/startup.h"
#include "utillib/values/amount.h"
#include "utillib/values/number_text.h"
#include "utillib/values/stamp.h"
#include "utillib/values/stamp_arithmetic.h"
#include "utillib/values/stamp_text.h"
#include "utillib/values/text.h"
