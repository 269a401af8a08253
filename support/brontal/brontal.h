// Umbrella header of the base support library.
#pragma once

#include "support/brontal/univconst.h"
#include "support/brontal/zelkbase.h"
