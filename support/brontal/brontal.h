// Umbrella header of the base support library.
//
// Namespaces: Zelk_zelkbase (base types, errors, events), Zelk_univconst
// (numeric limits), Zelk_dstruct (TBitFld), Zelk_fileutil (file-name
// helpers) and Zelk_tagscan (stream lines, element scanner, StringIx).
#pragma once

#include "support/brontal/drawframe.h"
#include "support/brontal/dstruct.h"
#include "support/brontal/fileutil.h"
#include "support/brontal/tagscan.h"
#include "support/brontal/univconst.h"
#include "support/brontal/zelkbase.h"
