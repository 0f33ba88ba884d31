// The wall clock the program shows and names files after: the user's local time.
#pragma once

#include "core/date_time.h"

core::DateTime LocalNow();
