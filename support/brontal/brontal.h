// Umbrella header of the base support library.
#pragma once

#include "support/brontal/drawframe.h"
#include "support/brontal/univconst.h"
#include "support/brontal/zelkbase.h"
