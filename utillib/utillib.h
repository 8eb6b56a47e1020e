// The whole public utility library.
#pragma once

#include "utillib/files/long_path.h"
#include "utillib/foundation/network_drives.h"
#include "utillib/foundation/path_names.h"
#include "utillib/foundation/startup.h"
#include "utillib/listings/directory_listing.h"
#include "utillib/listings/record_array.h"
#include "utillib/values/amount.h"
#include "utillib/values/number_text.h"
#include "utillib/values/stamp.h"
#include "utillib/values/stamp_arithmetic.h"
#include "utillib/values/stamp_text.h"
#include "utillib/values/text.h"
