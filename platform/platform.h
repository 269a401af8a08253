// Umbrella header of the platform layer.
#pragma once

#include "platform/application.h"
#include "platform/codepage.h"
#include "platform/component.h"
#include "platform/controls.h"
#include "platform/datetime.h"
#include "platform/errors.h"
#include "platform/filesystem.h"
#include "platform/fonts.h"
#include "platform/graphics.h"
#include "platform/jpeg.h"
#include "platform/lettercase.h"
#include "platform/numbers.h"
#include "platform/recordfile.h"
#include "platform/streams.h"
#include "platform/textfile.h"
#include "platform/types.h"
